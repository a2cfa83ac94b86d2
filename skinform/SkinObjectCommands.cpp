#include "SkinObjectCommands.h"

namespace {
const SkinCommandInfo kCommands[] = {
    {SkinCommand::Close, 0, "CLOSEBUTTON_HINT", "关闭"},
    {SkinCommand::Maximize, biMaximize, "MAXBUTTON_HINT", "最大化"},
    {SkinCommand::Minimize, biMinimize, "MINBUTTON_HINT", "最小化"},
    {SkinCommand::SysMenu, biSystemMenu, "MENUBUTTON_HINT", "系统菜单"},
    {SkinCommand::Default, 0, nullptr, nullptr},
    {SkinCommand::RollUp, biRollUp, "ROLLUPBUTTON_HINT", "向上卷拢"},
    {SkinCommand::MinimizeToTray, biMinimizeToTray, "TRAYBUTTON_HINT", "最小化到图标"},
};
}  // namespace

const SkinCommandInfo& CommandInfo(SkinCommand command) {
    for (const auto& info : kCommands)
        if (info.command == command) return info;
    return kCommands[4];
}
