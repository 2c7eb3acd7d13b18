#pragma once
#include "controls/explorerbar/ExplorerImageList.h"
#include "controls/explorerbar/ExplorerRef.h"

#include <QImage>
#include <QPointer>
#include <QRect>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace picbasket {

// A rectangle in the Windows manner: Right and Bottom lie just outside it.
struct ExplorerRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    int width() const { return Right - Left; }
    int height() const { return Bottom - Top; }
    QRect toQRect() const { return QRect(Left, Top, Right - Left, Bottom - Top); }
    // The hit rule of the bar: strictly inside horizontally, edges included vertically.
    bool hits(int x, int y) const { return Left < x && x < Right && Top <= y && y <= Bottom; }
    bool operator==(const ExplorerRect&) const = default;
};

struct typExplorerItem {
    QString GroupKey; // the owning group as the caller named it
    QString Key;
    int Index = 0; // 1-based position in the group
    QString Caption;
    int Icon = -1; // image-list index, -1 for none
    ExplorerRect ItemRect;
    bool Hot = false;
};

struct typExplorerGroup {
    QString Key;
    QString Caption;
    std::vector<typExplorerItem> Items; // Items[0] is item 1
    bool Expanded = true;
    ExplorerRect HeaderRect;
    bool HeaderHot = false;
    int HeaderState = 1; // 1 normal, 2 hot, 3 pressed
    int BodyHeight = 0;
    QPointer<QWidget> Child; // hosted container, null when none

    int ItemCount() const { return int(Items.size()); }
    typExplorerItem& item(int index) { return Items[size_t(index - 1)]; }
    const typExplorerItem& item(int index) const { return Items[size_t(index - 1)]; }
};

struct typSpecialGroup : typExplorerGroup {
    bool Visible = false;
    QImage Icon;
    QImage Background;
};

struct typDetailsGroup : typExplorerGroup {
    bool Visible = false;
    QString Title;
    QString Details;
    QImage Image;
    ExplorerRect TextRect;
};

// The data of the explorer bar and its public members that do not draw: groups and
// items, the special group (always first) and the details group (always last), key
// lookups and their messages. Every change that should show calls the changed
// handler (the widget repaints); failed lookups go to a message box or to the
// silent sink, with the texts the host has always seen.
//
// Group indexes: 1..GroupCount a normal group, -1 the special group, -2 the
// details group, -3 unknown.
class ExplorerBarModel {
public:
    static constexpr int SpecialIndex = -1, DetailsIndex = -2, UnknownIndex = -3;
    static inline const QString SpecialKey = QStringLiteral("Special Group");
    static inline const QString DetailsKey = QStringLiteral("Details Group");

    void setChangedHandler(std::function<void()> handler) { changed_ = std::move(handler); }
    // Receives the texts of failures that are never shown (tests record them).
    void setSilentSink(std::function<void(const QString&)> sink) { silent_ = std::move(sink); }

    void AddGroup(const QString& sKey, const QString& sCaption);
    void AddItem(const ExplorerRef& Group, const QString& sKey, const QString& sCaption,
                 const std::optional<ExplorerRef>& iIcon = std::nullopt);
    void SetImageList(std::shared_ptr<const ExplorerImageList> imageList);
    void AddSpecialGroup(const QString& Caption, const QImage& Icon, const QImage& background);
    void HideSpecialGroup();
    void AddDetailsGroup(const QString& Caption, const QString& sTittle, const QString& sDetails);
    void SetDetailsText(const QString& sDetails);
    void HideDetailsGroup();
    void SetDetailsImage(const QImage& detailsImage);
    // Hides the special and details groups, empties their items and removes every
    // normal group with its hosted child. It does not paint: the widget hands the
    // children back to their owners and paints once, even while updates are off.
    void ClearStructure();
    void ClearGroup(const ExplorerRef& Group);
    // Records the hosted container of a normal group (the widget adopts and places
    // it) or of the special group (kept, never shown). False when refused.
    bool SetGroupChild(const ExplorerRef& Group, QWidget* pChild);
    void ExpandGroup(const ExplorerRef& Group, std::optional<bool> bExpand = std::nullopt);
    void SetGroupCaption(const ExplorerRef& Group, const QString& sNewCaption);
    // The icon is resolved by key or index; the resolved index is written back.
    void SetItemIcon(const ExplorerRef& Group, const ExplorerRef& Item, ExplorerRef& iNewIcon);
    void SetItemText(const ExplorerRef& Group, const ExplorerRef& Item, const QString& sNewCaption);
    void DisableUpdates(bool bDisable);
    QString GetControlVersion() const { return QStringLiteral("1.91"); }
    bool UseUxThemeText() const { return m_UseUxThemeText; }
    void setUseUxThemeText(bool value);

    int GetGroupsByKeyN(const ExplorerRef& sGroupKey) const;
    int GetItemIndex(const typExplorerGroup& group, const ExplorerRef& Item) const;
    int GetIconIndex(const ExplorerRef& iIcon) const;
    bool GetGroupKeyByIndex(int index, QString& key) const;

    int GroupCount() const { return int(m_Groups.size()); }
    typExplorerGroup& group(int index) { return m_Groups[size_t(index - 1)]; }
    const typExplorerGroup& group(int index) const { return m_Groups[size_t(index - 1)]; }
    // The group of any valid index (normal, special, details); null otherwise.
    typExplorerGroup* groupAt(int index);
    const typExplorerGroup* groupAt(int index) const;
    // The key an event reports for a group: its Key, or the fixed key of the
    // special and details groups.
    QString eventKey(int index) const;

    typSpecialGroup& specialGroup() { return m_SpecialGroup; }
    const typSpecialGroup& specialGroup() const { return m_SpecialGroup; }
    typDetailsGroup& detailsGroup() { return m_DetailsGroup; }
    const typDetailsGroup& detailsGroup() const { return m_DetailsGroup; }
    const ExplorerImageList* imageList() const { return m_ImageList.get(); }
    bool updatesEnabled() const { return m_UpdatesEnabled; }
    void setUpdatesEnabled(bool enabled) { m_UpdatesEnabled = enabled; }

    static void ShowControlError(const QString& sText);
    void IgnoreControlError(const QString& sText) const;

private:
    void paint() const;
    bool isNormalIndex(int index) const { return index >= 1 && index <= GroupCount(); }
    void reportMissingGroup(const ExplorerRef& Group) const;
    // The item of a SetItemIcon / SetItemText call, null (after its message) when missing.
    typExplorerItem* findItemFor(const ExplorerRef& Group, const ExplorerRef& Item);
    static void appendItem(typExplorerGroup& group, const QString& groupKey, const QString& sKey,
                           const QString& sCaption, int icon);

    std::vector<typExplorerGroup> m_Groups;
    typSpecialGroup m_SpecialGroup;
    typDetailsGroup m_DetailsGroup;
    std::shared_ptr<const ExplorerImageList> m_ImageList;
    bool m_UpdatesEnabled = false;
    bool m_UseUxThemeText = true;
    std::function<void()> changed_;
    std::function<void(const QString&)> silent_;
};

} // namespace picbasket
