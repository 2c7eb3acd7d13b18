#include "controls/explorerbar/ExplorerBarModel.h"

#include "core/MessageBox.h"

namespace picbasket {

void ExplorerBarModel::paint() const {
    if (changed_)
        changed_();
}

void ExplorerBarModel::ShowControlError(const QString& sText) {
    msgBox(QStringLiteral("An Error has ocurred!\r\n") + sText, mb::OKOnly | mb::Critical,
           QStringLiteral("isExplorerBar"));
}

void ExplorerBarModel::IgnoreControlError(const QString& sText) const {
    if (silent_)
        silent_(sText);
}

void ExplorerBarModel::reportMissingGroup(const ExplorerRef& Group) const {
    ShowControlError(QStringLiteral("The Group '") + Group.text() + QStringLiteral("' doesn't exist"));
}

typExplorerGroup* ExplorerBarModel::groupAt(int index) {
    if (index == SpecialIndex)
        return &m_SpecialGroup;
    if (index == DetailsIndex)
        return &m_DetailsGroup;
    return isNormalIndex(index) ? &group(index) : nullptr;
}

const typExplorerGroup* ExplorerBarModel::groupAt(int index) const {
    return const_cast<ExplorerBarModel*>(this)->groupAt(index);
}

QString ExplorerBarModel::eventKey(int index) const {
    if (index == SpecialIndex)
        return SpecialKey;
    if (index == DetailsIndex)
        return DetailsKey;
    return isNormalIndex(index) ? group(index).Key : QString();
}

int ExplorerBarModel::GetGroupsByKeyN(const ExplorerRef& sGroupKey) const {
    if (sGroupKey.isIndex())
        return sGroupKey.index();
    const QString key = sGroupKey.key();
    for (int i = 1; i <= GroupCount(); ++i) {
        if (group(i).Key == key)
            return i;
    }
    if (key == SpecialKey)
        return SpecialIndex;
    if (key == DetailsKey)
        return DetailsIndex;
    return UnknownIndex;
}

int ExplorerBarModel::GetItemIndex(const typExplorerGroup& group, const ExplorerRef& Item) const {
    if (group.ItemCount() == 0) {
        ShowControlError(QStringLiteral("GetItemIndex: There are no Items in this group!"));
        return 0;
    }
    if (Item.isIndex()) {
        if (Item.index() >= 1 && Item.index() <= group.ItemCount())
            return Item.index();
        ShowControlError(QStringLiteral("GetItemIndex/Integer: Item specified not found!"));
        return 0;
    }
    for (int i = 1; i <= group.ItemCount(); ++i) {
        if (group.item(i).Key == Item.key())
            return i;
    }
    ShowControlError(QStringLiteral("GetItemIndex/String: Item specified not found!"));
    return 0;
}

int ExplorerBarModel::GetIconIndex(const ExplorerRef& iIcon) const {
    if (!m_ImageList) {
        IgnoreControlError(QStringLiteral("No Defined Imagelist"));
        return -1;
    }
    const int count = m_ImageList->count();
    if (iIcon.isIndex()) {
        if (iIcon.index() >= 1 && iIcon.index() <= count)
            return iIcon.index();
        IgnoreControlError(QStringLiteral("GetIconIndex: invalid Image Index!"));
        return -1;
    }
    for (int i = 1; i <= count; ++i) {
        if (m_ImageList->key(i) == iIcon.key())
            return i;
    }
    ShowControlError(QStringLiteral("GetIconIndex: icon with key ") + iIcon.key() +
                     QStringLiteral(" doesn't exist!"));
    return -1;
}

bool ExplorerBarModel::GetGroupKeyByIndex(int index, QString& key) const {
    if (index > 0 && index <= GroupCount()) {
        key = group(index).Key;
        return true;
    }
    if (index == SpecialIndex || index == DetailsIndex) {
        key = groupAt(index)->Key;
        return true;
    }
    return false;
}

void ExplorerBarModel::AddGroup(const QString& sKey, const QString& sCaption) {
    typExplorerGroup added;
    added.Key = sKey;
    added.Caption = sCaption;
    m_Groups.push_back(std::move(added));
    paint();
}

void ExplorerBarModel::appendItem(typExplorerGroup& group, const QString& groupKey,
                                  const QString& sKey, const QString& sCaption, int icon) {
    typExplorerItem item;
    item.GroupKey = groupKey;
    item.Key = sKey;
    item.Caption = sCaption;
    item.Icon = icon;
    item.Index = group.ItemCount() + 1;
    group.Items.push_back(std::move(item));
}

void ExplorerBarModel::AddItem(const ExplorerRef& Group, const QString& sKey,
                               const QString& sCaption, const std::optional<ExplorerRef>& iIcon) {
    const int icon = iIcon ? GetIconIndex(*iIcon) : -1;
    const int idx = GetGroupsByKeyN(Group);
    if (idx == SpecialIndex) {
        appendItem(m_SpecialGroup, SpecialKey, sKey, sCaption, icon);
    } else if (idx == DetailsIndex || idx == UnknownIndex) {
        IgnoreControlError(QStringLiteral("Can't assign items to the Especified group"));
        return;
    } else if (!isNormalIndex(idx)) {
        IgnoreControlError(QStringLiteral("The group '") + Group.text() +
                           QStringLiteral("' doesn't exist"));
        return;
    } else {
        appendItem(group(idx), Group.text(), sKey, sCaption, icon);
    }
    paint();
}

void ExplorerBarModel::SetImageList(std::shared_ptr<const ExplorerImageList> imageList) {
    m_ImageList = std::move(imageList);
}

void ExplorerBarModel::AddSpecialGroup(const QString& Caption, const QImage& Icon,
                                       const QImage& background) {
    m_SpecialGroup.Visible = true;
    m_SpecialGroup.Caption = Caption;
    m_SpecialGroup.Key = SpecialKey;
    m_SpecialGroup.Expanded = true;
    m_SpecialGroup.Icon = Icon;
    m_SpecialGroup.Background = background;
    paint();
}

void ExplorerBarModel::HideSpecialGroup() {
    m_SpecialGroup.Visible = false;
    paint();
}

void ExplorerBarModel::AddDetailsGroup(const QString& Caption, const QString& sTittle,
                                       const QString& sDetails) {
    m_DetailsGroup.Visible = true;
    m_DetailsGroup.Caption = Caption;
    m_DetailsGroup.Key = DetailsKey;
    m_DetailsGroup.Title = sTittle;
    m_DetailsGroup.Details = sDetails;
    m_DetailsGroup.Expanded = true;
    paint();
}

void ExplorerBarModel::SetDetailsText(const QString& sDetails) {
    m_DetailsGroup.Details = sDetails;
    m_DetailsGroup.Expanded = true;
    paint();
}

void ExplorerBarModel::HideDetailsGroup() {
    m_DetailsGroup.Visible = false;
    paint();
}

void ExplorerBarModel::SetDetailsImage(const QImage& detailsImage) {
    m_DetailsGroup.Image = detailsImage;
    paint();
}

void ExplorerBarModel::ClearStructure() {
    m_SpecialGroup.Visible = false;
    m_SpecialGroup.Items.clear();
    m_DetailsGroup.Visible = false;
    m_Groups.clear();
}

void ExplorerBarModel::ClearGroup(const ExplorerRef& Group) {
    const int idx = GetGroupsByKeyN(Group);
    if (idx != SpecialIndex && !isNormalIndex(idx)) {
        reportMissingGroup(Group);
        return;
    }
    groupAt(idx)->Items.clear();
    paint();
}

bool ExplorerBarModel::SetGroupChild(const ExplorerRef& Group, QWidget* pChild) {
    const int idx = GetGroupsByKeyN(Group);
    if (idx != SpecialIndex && !isNormalIndex(idx)) {
        reportMissingGroup(Group);
        return false;
    }
    groupAt(idx)->Child = pChild;
    paint();
    return true;
}

void ExplorerBarModel::ExpandGroup(const ExplorerRef& Group, std::optional<bool> bExpand) {
    typExplorerGroup* target = groupAt(GetGroupsByKeyN(Group));
    if (target == nullptr) {
        reportMissingGroup(Group);
        return;
    }
    target->Expanded = bExpand.value_or(!target->Expanded);
    paint();
}

void ExplorerBarModel::SetGroupCaption(const ExplorerRef& Group, const QString& sNewCaption) {
    const int idx = GetGroupsByKeyN(Group);
    if (idx == UnknownIndex)
        return;
    typExplorerGroup* target = groupAt(idx);
    if (target == nullptr) {
        reportMissingGroup(Group);
        return;
    }
    target->Caption = sNewCaption;
    paint();
}

typExplorerItem* ExplorerBarModel::findItemFor(const ExplorerRef& Group, const ExplorerRef& Item) {
    const int idx = GetGroupsByKeyN(Group);
    if (idx == DetailsIndex) {
        ShowControlError(QStringLiteral("Details Group hasn't Child Items!"));
        return nullptr;
    }
    if (idx != SpecialIndex && !isNormalIndex(idx)) {
        reportMissingGroup(Group);
        return nullptr;
    }
    typExplorerGroup& owner = *groupAt(idx);
    const int itemIndex = GetItemIndex(owner, Item);
    return itemIndex == 0 ? nullptr : &owner.item(itemIndex);
}

void ExplorerBarModel::SetItemIcon(const ExplorerRef& Group, const ExplorerRef& Item,
                                   ExplorerRef& iNewIcon) {
    const int icon = GetIconIndex(iNewIcon);
    iNewIcon = icon;
    if (typExplorerItem* item = findItemFor(Group, Item)) {
        item->Icon = icon;
        paint();
    }
}

void ExplorerBarModel::SetItemText(const ExplorerRef& Group, const ExplorerRef& Item,
                                   const QString& sNewCaption) {
    if (typExplorerItem* item = findItemFor(Group, Item)) {
        item->Caption = sNewCaption;
        paint();
    }
}

void ExplorerBarModel::DisableUpdates(bool bDisable) {
    m_UpdatesEnabled = !bDisable;
    paint();
}

void ExplorerBarModel::setUseUxThemeText(bool value) {
    m_UseUxThemeText = value;
    paint();
}

} // namespace picbasket
