// The frame component's menu settings, which belong to its menu engine: the
// form only passes them through, so every skinned menu of the form sees them.

#include "TbsSkinForm.h"
#include "TbsSkinMenu.h"

int TbsSkinForm::MaxMenuItemsInWindow() { return SkinMenu().MaxMenuItemsInWindow; }

void TbsSkinForm::SetMaxMenuItemsInWindow(int value) {
    if (value >= 0) SkinMenu().MaxMenuItemsInWindow = value;
}

int TbsSkinForm::DefMenuItemHeight() { return SkinMenu().DefaultMenuItemHeight; }

void TbsSkinForm::SetDefMenuItemHeight(int value) {
    if (value > 0) SkinMenu().DefaultMenuItemHeight = value;
}

TFont& TbsSkinForm::DefMenuItemFont() { return SkinMenu().DefaultMenuItemFont; }

bool TbsSkinForm::UseSkinFontInMenu() { return SkinMenu().UseSkinFont; }

void TbsSkinForm::SetUseSkinFontInMenu(bool value) { SkinMenu().UseSkinFont = value; }
