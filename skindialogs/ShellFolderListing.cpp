#include "ShellFolderListing.h"

#include "ShellCollation.h"
#include "ShellMask.h"

ShellListing ListShellFolder(const TbsShellFolder::Ptr& folder, TbsShellObjectTypes types, const AnsiString& mask,
                             const ShellCollator* collator, const ShellAddFilter& onAdd) {
    ShellListing listing;
    std::vector<TbsShellFolder::Ptr> found = folder->Children(folder, types, &listing.Error);
    listing.Items.reserve(found.size());
    for (auto& item : found) {
        bool keep = item->IsFolder() || PassesShellMask(item->DisplayName(), mask);
        if (onAdd) keep = onAdd(*item, keep);
        if (keep) listing.Items.push_back(std::move(item));
    }
    if (collator) SortShellItems(listing.Items, *collator);
    return listing;
}

TbsShellFolder::Ptr NearestExistingItem(const TbsShellFolder::Ptr& item) {
    TbsShellFolder::Ptr at = item;
    while (at && at->Kind() == TbsShellItemKind::FileSystem && !FolderExists(at->Path()) && at->Parent())
        at = at->Parent();
    return at;
}
