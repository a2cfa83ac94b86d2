#include "TbsUserObject.h"

#include "TbsSkinForm.h"

void TbsUserObject::Draw(TCanvas& canvas, bool) {
    if (form_.OnPaintEvent) form_.OnPaintEvent(IDName, &canvas, ObjectRect);
}
