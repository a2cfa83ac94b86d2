#include "TbsResourceStrData.h"

#include <array>
#include <string_view>

#include "SysUtils.h"

namespace {

struct DefaultText {
    std::string_view key;
    std::string_view text;
};

// The default table. Its order is part of the table: callers that list the
// lines see them in this order.
constexpr std::array<DefaultText, kDefaultResourceStringCount> kDefaults{{
    // caption-button menu
    {"MI_MINCAPTION", "Mi&nimize"},
    {"MI_MAXCAPTION", "Ma&ximize"},
    {"MI_CLOSECAPTION", "&Close"},
    {"MI_RESTORECAPTION", "&Restore"},
    {"MI_MINTOTRAYCAPTION", "Minimize to &Tray"},
    {"MI_ROLLUPCAPTION", "Ro&llUp"},
    // caption-button hints
    {"MINBUTTON_HINT", "Minimize"},
    {"MAXBUTTON_HINT", "Maximize"},
    {"CLOSEBUTTON_HINT", "Close"},
    {"TRAYBUTTON_HINT", "Minimize to Tray"},
    {"ROLLUPBUTTON_HINT", "Roll Up"},
    {"MENUBUTTON_HINT", "System menu"},
    // edit menu
    {"EDIT_UNDO", "Undo"},
    {"EDIT_COPY", "Copy"},
    {"EDIT_CUT", "Cut"},
    {"EDIT_PASTE", "Paste"},
    {"EDIT_DELETE", "Delete"},
    {"EDIT_SELECTALL", "Select All"},
    // dialog buttons
    {"MSG_BTN_YES", "&Yes"},
    {"MSG_BTN_NO", "&No"},
    {"MSG_BTN_OK", "OK"},
    {"MSG_BTN_CANCEL", "Cancel"},
    {"MSG_BTN_ABORT", "&Abort"},
    {"MSG_BTN_RETRY", "&Retry"},
    {"MSG_BTN_IGNORE", "&Ignore"},
    {"MSG_BTN_ALL", "&All"},
    {"MSG_BTN_NOTOALL", "N&oToAll"},
    {"MSG_BTN_YESTOALL", "&YesToAll"},
    {"MSG_BTN_HELP", "&Help"},
    {"MSG_BTN_OPEN", "&Open"},
    {"MSG_BTN_SAVE", "&Save"},
    {"MSG_BTN_CLOSE", "Close"},
    // dialog captions
    {"MSG_CAP_WARNING", "Warning"},
    {"MSG_CAP_ERROR", "Error"},
    {"MSG_CAP_INFORMATION", "Information"},
    {"MSG_CAP_CONFIRM", "Confirm"},
    {"MSG_CAP_SHOWFLAG", "Do not display this message again"},
    // file dialogs
    {"MSG_BTN_BACK_HINT", "Go To Last Folder Visited"},
    {"MSG_BTN_UP_HINT", "Up One Level"},
    {"MSG_BTN_NEWFOLDER_HINT", "Create New Folder"},
    {"MSG_BTN_VIEWMENU_HINT", "View Menu"},
    {"MSG_BTN_STRETCH_HINT", "Stretch"},
    {"MSG_FILENAME", "File name:"},
    {"MSG_FILETYPE", "File type:"},
    {"MSG_NEWFOLDER", "New Folder"},
    {"MSG_LV_DETAILS", "Details"},
    {"MSG_LV_ICON", "Large icons"},
    {"MSG_LV_SMALLICON", "Small icons"},
    {"MSG_LV_LIST", "List"},
    {"MSG_PREVIEWSKIN", "Preview"},
    {"MSG_PREVIEWBUTTON", "Button"},
    {"MSG_OVERWRITE", "Do you want to overwrite old file?"},
    // other dialogs
    {"CALC_CAP", "Calculator"},
    {"ERROR", "Error"},
    {"COLORGRID_CAP", "Basic colors"},
    {"CUSTOMCOLORGRID_CAP", "Custom colors"},
    {"ADDCUSTOMCOLORBUTTON_CAP", "Add to Custom Colors"},
    {"FONTDLG_COLOR", "Color:"},
    {"FONTDLG_NAME", "Name:"},
    {"FONTDLG_SIZE", "Size:"},
    {"FONTDLG_HEIGHT", "Height:"},
    {"FONTDLG_EXAMPLE", "Example"},
    {"FONTDLG_STYLE", "Style"},
    {"FONTDLG_SCRIPT", "Script:"},
    {"DB_DELETE_QUESTION", "Delete record?"},
    {"DB_MULTIPLEDELETE_QUESTION", "Delete all selected records?"},
    {"NODISKINDRIVE", "There is no disk in Drive or Drive is not ready"},
    {"NOVALIDDRIVEID", "Not a valid Drive ID"},
    {"FLV_NAME", "Name"},
    {"FLV_SIZE", "Size"},
    {"FLV_TYPE", "Type"},
    {"FLV_LOOKIN", "Look in: "},
    {"FLV_MODIFIED", "Modified"},
    {"FLV_ATTRIBUTES", "Attributes"},
    {"FLV_DISKSIZE", "Disk Size"},
    {"FLV_FREESPACE", "Free Space"},
    // print dialog
    {"PRNDLG_PRINTER", "Printer"},
    {"PRNDLG_NAME", "Name:"},
    {"PRNDLG_PROPERTIES", "Properties..."},
    {"PRNDLG_STATUS", "Status:"},
    {"PRNDLG_TYPE", "Type:"},
    {"PRNDLG_WHERE", "Where:"},
    {"PRNDLG_COMMENT", "Comment:"},
    {"PRNDLG_PRINTRANGE", "Print range"},
    {"PRNDLG_COPIES", "Copies"},
    {"PRNDLG_NUMBEROFCOPIES", "Number of copies:"},
    {"PRNDLG_COLLATE", "Collate"},
    {"PRNDLG_ALL", "All"},
    {"PRNDLG_PAGES", "Pages"},
    {"PRNDLG_SELECTION", "Selection"},
    {"PRNDLG_PRINTTOFILE", "Print to file"},
    {"PRNDLG_FROM", "from:"},
    {"PRNDLG_TO", "to:"},
    {"PRNDLG_ORIENTATION", "Orientation"},
    {"PRNDLG_PAPER", "Paper"},
    {"PRNDLG_PORTRAIT", "Portrait"},
    {"PRNDLG_LANDSCAPE", "Landscape"},
    {"PRNDLG_SOURCE", "Source:"},
    {"PRNDLG_SIZE", "Size:"},
    {"PRNDLG_MARGINS", "Margins"},
    {"PRNDLG_MARGINS_INCHES", "Margins (inches)"},
    {"PRNDLG_MARGINS_MILLIMETERS", "Margins (millimeters)"},
    {"PRNDLG_LEFT", "Left:"},
    {"PRNDLG_RIGHT", "Right:"},
    {"PRNDLG_TOP", "Top:"},
    {"PRNDLG_BOTTOM", "Bottom:"},
    // find and replace dialogs
    {"FIND_NEXT", "Find next"},
    {"FIND_WHAT", "Find what:"},
    {"FIND_CAPTION", "Find"},
    {"FIND_REPLACE", "Replace"},
    {"FIND_REPLACE_WITH", "Replace with:"},
    {"FIND_REPLACE_ALL", "Replace all"},
    {"FIND_DIRECTION", "Direction"},
    {"FIND_DIRECTIONUP", "Up"},
    {"FIND_DIRECTIONDOWN", "Down"},
    {"FIND_MATCH_WHOLE_WORD_ONLY", "Match whole word only"},
    {"FIND_MATCH_CASE", "Match case"},
    // colour pickers
    {"MORECOLORS", "More colors..."},
    {"AUTOCOLOR", "Automatic"},
    {"CUSTOMCOLOR", "Custom..."},
    // record navigator hints
    {"DBNAV_FIRST_HINT", "First record"},
    {"DBNAV_PRIOR_HINT", "Prior record"},
    {"DBNAV_NEXT_HINT", "Next record"},
    {"DBNAV_LAST_HINT", "Last record"},
    {"DBNAV_INSERT_HINT", "Insert record"},
    {"DBNAV_DELETE_HINT", "Delete record"},
    {"DBNAV_EDIT_HINT", "Edit record"},
    {"DBNAV_POST_HINT", "Post edit"},
    {"DBNAV_CANCEL_HINT", "Cancel edit"},
    {"DBNAV_REFRESH_HINT", "Refresh data"},
}};
// An array of this size with fewer initialisers would compile; this catches it.
static_assert(!kDefaults.back().key.empty(), "the default table has fewer lines than it should");

}  // namespace

void DefaultResourceStrings(TStrings& lines) {
    lines.BeginUpdate();
    lines.Clear();
    for (const auto& d : kDefaults) {
        AnsiString line(d.key);
        line += '=';
        line += d.text;
        lines.Add(line);
    }
    lines.EndUpdate();
}

TbsResourceStrData::TbsResourceStrData(TComponent* AOwner) : TComponent(AOwner) {
    DefaultResourceStrings(resStrings_);
}

AnsiString TbsResourceStrData::LookupString(std::string_view key) const {
    for (int i = 0; i < resStrings_.Count(); ++i) {
        const AnsiString& line = resStrings_.Strings(i);
        const auto eq = line.find('=');
        if (eq == AnsiString::npos) continue;
        if (SameText(std::string_view(line).substr(0, eq), key)) return line.substr(eq + 1);
    }
    return {};
}
