#include "document/editwindowlist.h"

#include <algorithm>
#include <stdexcept>

namespace tsy {

bool TSelectedGlyphEditWindowList::TInternalSelectionItem::Live() const {
  return std::any_of(Subscribers.begin(), Subscribers.end(), [](const TInternalSubscriber& s) { return !s.Removed; });
}

TSelectedGlyphEditWindowList::TInternalSelectionItem* TSelectedGlyphEditWindowList::Find(int32_t G) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it)
    if (!(*it)->Deleted && (*it)->Glyph == G && (*it)->Live()) return it->get();
  return nullptr;
}

void TSelectedGlyphEditWindowList::Collect() {
  if (FWalking > 0) return;
  for (auto& item : FItems)
    std::erase_if(item->Subscribers, [](const TInternalSubscriber& s) { return s.Removed; });
  std::erase_if(FItems, [](const std::unique_ptr<TInternalSelectionItem>& i) { return i->Subscribers.empty(); });
}

// While a walk runs, removed subscribers and ended entries stay in place;
// the outermost walk clears them away when it ends, also by an exception.
struct TSelectedGlyphEditWindowList::TWalk {
  explicit TWalk(TSelectedGlyphEditWindowList& L) : List(L) { ++List.FWalking; }
  ~TWalk() {
    --List.FWalking;
    List.Collect();
  }
  TSelectedGlyphEditWindowList& List;
};

void TSelectedGlyphEditWindowList::Notify(TInternalSelectionItem& Item, TWindow Except, bool ExceptAll,
                                          TGlyphNotification Kind) {
  TWalk walk(*this);
  // From the last subscriber to the first, by position: a handler may
  // unsubscribe itself (marked, not erased) or subscribe others (appended).
  for (size_t i = Item.Subscribers.size(); i-- > 0;) {
    if (i >= Item.Subscribers.size()) continue;
    const TInternalSubscriber& s = Item.Subscribers[i];
    if (s.Removed) continue;
    if (ExceptAll && s.Window != nullptr && s.Window == Except) continue;
    THandler handler = s.Handler;
    if (handler) handler(Kind);
  }
}

void TSelectedGlyphEditWindowList::NotifyOthers(TWindow W, int32_t G, TGlyphNotification Kind) {
  if (TInternalSelectionItem* item = Find(G)) Notify(*item, W, true, Kind);
}

void TSelectedGlyphEditWindowList::Subscribe(TWindow W, int32_t G, THandler Handler, uint8_t Flag) {
  TInternalSelectionItem* item = Find(G);
  if (!item) {
    FItems.push_back(std::make_unique<TInternalSelectionItem>());
    item = FItems.back().get();
    item->Glyph = G;
  }
  if (Flag == 0)
    for (const TInternalSubscriber& s : item->Subscribers)
      if (!s.Removed && s.Window == W && s.Flag == 0) throw std::logic_error("Design problem.");
  item->Subscribers.push_back({W, Flag, std::move(Handler)});
}

void TSelectedGlyphEditWindowList::Unsubscribe(TWindow W, int32_t G) {
  // A window of a deleted glyph still names the old index, which by now
  // belongs to the next glyph: its own (deleted) entry is found by identity.
  auto removeFrom = [&](TInternalSelectionItem& item) {
    for (auto it = item.Subscribers.rbegin(); it != item.Subscribers.rend(); ++it)
      if (!it->Removed && it->Window == W) {
        it->Removed = true;
        return true;
      }
    return false;
  };
  bool done = false;
  for (auto& item : FItems)
    if (item->Deleted && removeFrom(*item)) {
      done = true;
      break;
    }
  if (!done)
    if (TInternalSelectionItem* item = Find(G)) removeFrom(*item);
  Collect();
}

int32_t TSelectedGlyphEditWindowList::GlyphOfWindow(TWindow W) const {
  for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
    if ((*it)->Deleted) continue;
    for (const TInternalSubscriber& s : (*it)->Subscribers)
      if (!s.Removed && s.Window == W) return (*it)->Glyph;
  }
  return -1;
}

int TSelectedGlyphEditWindowList::WindowCount() const {
  std::vector<TWindow> windows;
  for (const auto& item : FItems) {
    if (item->Deleted) continue;
    for (const TInternalSubscriber& s : item->Subscribers)
      if (!s.Removed && s.Flag == 0 && s.Window && std::find(windows.begin(), windows.end(), s.Window) == windows.end())
        windows.push_back(s.Window);
  }
  return int(windows.size());
}

uint8_t TSelectedGlyphEditWindowList::GetEditMode(TWindow, int32_t G) const {
  const TInternalSelectionItem* item = Find(G);
  return item ? item->EditMode : 0;
}

void TSelectedGlyphEditWindowList::SetEditMode(TWindow W, int32_t G, uint8_t Mode) {
  TInternalSelectionItem* item = Find(G);
  if (!item || item->EditMode == Mode) return;
  item->EditMode = Mode;
  if (Mode == emContour) item->Points.Clear();
  if (Mode == emPoint) item->Contours.Clear();
  NotifyOthers(W, G, gnStateChanged);
}

#define TSY_SELECTION_OP(Name, Body)                                    \
  void TSelectedGlyphEditWindowList::Name {                             \
    TInternalSelectionItem* item = Find(G);                             \
    if (!item) return;                                                  \
    Body;                                                               \
    NotifyOthers(W, G, gnSelectionChanged);                             \
  }

TSY_SELECTION_OP(SelectContour(TWindow W, int32_t G, int32_t C), item->Contours.Add(C))
TSY_SELECTION_OP(DeselectContour(TWindow W, int32_t G, int32_t C), item->Contours.Remove(C))
TSY_SELECTION_OP(ClearContours(TWindow W, int32_t G), item->Contours.Clear())
TSY_SELECTION_OP(SelectPoint(TWindow W, int32_t G, int32_t C, int32_t P), item->Points.Add(C, P))
TSY_SELECTION_OP(DeselectPoint(TWindow W, int32_t G, int32_t C, int32_t P), item->Points.Remove(C, P))
TSY_SELECTION_OP(ClearPoints(TWindow W, int32_t G), item->Points.Clear())
TSY_SELECTION_OP(SelectMember(TWindow W, int32_t G, int32_t M), item->Members.Add(M))
TSY_SELECTION_OP(DeselectMember(TWindow W, int32_t G, int32_t M), item->Members.Remove(M))
TSY_SELECTION_OP(ClearMembers(TWindow W, int32_t G), item->Members.Clear())
#undef TSY_SELECTION_OP

bool TSelectedGlyphEditWindowList::IsContourSelected(int32_t G, int32_t C) const {
  const TInternalSelectionItem* item = Find(G);
  return item && item->Contours.Contains(C);
}

bool TSelectedGlyphEditWindowList::IsPointSelected(int32_t G, int32_t C, int32_t P) const {
  const TInternalSelectionItem* item = Find(G);
  return item && item->Points.Contains(C, P);
}

bool TSelectedGlyphEditWindowList::IsMemberSelected(int32_t G, int32_t M) const {
  const TInternalSelectionItem* item = Find(G);
  return item && item->Members.Contains(M);
}

void TSelectedGlyphEditWindowList::GetContours(TWindow, int32_t G, TContourSelection& Out) const {
  if (const TInternalSelectionItem* item = Find(G)) Out.Assign(item->Contours);
}

void TSelectedGlyphEditWindowList::GetPoints(TWindow, int32_t G, TPointSelection& Out) const {
  if (const TInternalSelectionItem* item = Find(G)) Out.Assign(item->Points);
}

void TSelectedGlyphEditWindowList::GetMembers(TWindow, int32_t G, TGlyphSelection& Out) const {
  if (const TInternalSelectionItem* item = Find(G)) Out.Assign(item->Members);
}

void TSelectedGlyphEditWindowList::SetContours(TWindow, int32_t G, const TContourSelection& Selection) {
  if (TInternalSelectionItem* item = Find(G)) item->Contours.Assign(Selection);
}

void TSelectedGlyphEditWindowList::SetPoints(TWindow, int32_t G, const TPointSelection& Selection) {
  if (TInternalSelectionItem* item = Find(G)) item->Points.Assign(Selection);
}

void TSelectedGlyphEditWindowList::SetMembers(TWindow, int32_t G, const TGlyphSelection& Selection) {
  if (TInternalSelectionItem* item = Find(G)) item->Members.Assign(Selection);
}

TFloatRect TSelectedGlyphEditWindowList::GetSelectionFrame(TWindow, int32_t G) const {
  const TInternalSelectionItem* item = Find(G);
  return item ? item->Contours.SelectionFrame : TFloatRect{};
}

TFloatRect TSelectedGlyphEditWindowList::GetMemberFrame(TWindow, int32_t G) const {
  const TInternalSelectionItem* item = Find(G);
  return item ? item->Members.MemberFrame : TFloatRect{};
}

void TSelectedGlyphEditWindowList::SetSelectionFrame(TWindow Caller, int32_t G, const TFloatRect& Frame) {
  TInternalSelectionItem* item = Find(G);
  if (!item || item->Contours.SelectionFrame == Frame) return;
  item->Contours.SelectionFrame = Frame;
  NotifyOthers(Caller, G, gnStateChanged);
}

void TSelectedGlyphEditWindowList::SetMemberFrame(TWindow Caller, int32_t G, const TFloatRect& Frame) {
  TInternalSelectionItem* item = Find(G);
  if (!item || item->Members.MemberFrame == Frame) return;
  item->Members.MemberFrame = Frame;
  NotifyOthers(Caller, G, gnStateChanged);
}

TRealPoint TSelectedGlyphEditWindowList::GetTransformOrigin(TWindow, int32_t G) const {
  const TInternalSelectionItem* item = Find(G);
  return item ? item->Contours.TransformOrigin : TRealPoint{};
}

void TSelectedGlyphEditWindowList::StoreTransformOrigin(TWindow W, int32_t G, TRealPoint Origin) {
  TInternalSelectionItem* item = Find(G);
  if (!item || item->Contours.TransformOrigin == Origin) return;
  item->Contours.TransformOrigin = Origin;
  NotifyOthers(W, G, gnStateChanged);
}

uint8_t TSelectedGlyphEditWindowList::GetHandleKind(TWindow, int32_t G) const {
  const TInternalSelectionItem* item = Find(G);
  return item ? item->Contours.HandleMode : 0;
}

void TSelectedGlyphEditWindowList::SetHandleKind(TWindow W, int32_t G, uint8_t Kind) {
  TInternalSelectionItem* item = Find(G);
  if (!item || item->Contours.HandleMode == Kind) return;
  item->Contours.HandleMode = Kind;
  NotifyOthers(W, G, gnStateChanged);
}

void TSelectedGlyphEditWindowList::GlyphChanged(int32_t G) {
  if (TInternalSelectionItem* item = Find(G)) NotifyAll(*item, gnGlyphChanged);
  if (!FUsers) return;
  for (int32_t user : FUsers(G))
    if (user != G)
      if (TInternalSelectionItem* item = Find(user)) NotifyAll(*item, gnGlyphChanged);
}

void TSelectedGlyphEditWindowList::NotifyEveryEntry(TGlyphNotification Kind) {
  TWalk walk(*this);
  // Entries are not freed during the walk, and new ones are appended, so
  // positions stay valid; entries added by a handler are not notified.
  const size_t n = FItems.size();
  for (size_t i = 0; i < n; ++i)
    if (!FItems[i]->Deleted) NotifyAll(*FItems[i], Kind);
}

void TSelectedGlyphEditWindowList::AllGlyphsChanged() { NotifyEveryEntry(gnGlyphChanged); }

void TSelectedGlyphEditWindowList::GlyphInserted(int32_t G) {
  for (auto& item : FItems)
    if (!item->Deleted && item->Glyph >= G) ++item->Glyph;
  NotifyEveryEntry(gnRenumbered);
}

void TSelectedGlyphEditWindowList::GlyphDeleted(int32_t G) {
  TInternalSelectionItem* gone = Find(G);
  if (gone) gone->Deleted = true;
  for (auto& item : FItems)
    if (!item->Deleted && item->Glyph > G) --item->Glyph;
  TWalk walk(*this);
  if (gone) NotifyAll(*gone, gnDeleted);
  NotifyEveryEntry(gnRenumbered);
}

}  // namespace tsy
