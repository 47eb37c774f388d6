#pragma once
// The per-glyph state shared by every edit window of one glyph (selections,
// edit mode, frames, pivot, handle kind) and the windows subscribed to it.
// One list per open font; windows are known only by identity, so the list
// runs without a user interface.
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "outline/selections.h"

namespace tsy {

enum TGlyphNotification : int {
  gnSelectionChanged = 0,
  gnRenumbered = 1,  // ask for your glyph index again
  gnDeleted = 2,     // the glyph is gone: close
  gnGlyphChanged = 3,
  gnStateChanged = 4,  // edit mode, a frame, the origin or the handle kind
};

enum TEditMode : uint8_t { emContour = 1, emPoint = 2 };

class TSelectedGlyphEditWindowList {
public:
  using TWindow = const void*;  // identity only; nullptr is a window-less subscriber
  using THandler = std::function<void(TGlyphNotification Kind)>;
  // The glyphs whose outline uses Glyph, directly or through members.
  using TGlyphUsers = std::function<std::vector<int32_t>(int32_t Glyph)>;

  explicit TSelectedGlyphEditWindowList(TGlyphUsers Users = {}) : FUsers(std::move(Users)) {}
  TSelectedGlyphEditWindowList(const TSelectedGlyphEditWindowList&) = delete;
  TSelectedGlyphEditWindowList& operator=(const TSelectedGlyphEditWindowList&) = delete;

  void Subscribe(TWindow W, int32_t G, THandler Handler, uint8_t Flag = 0);
  void Unsubscribe(TWindow W, int32_t G);
  int32_t GlyphOfWindow(TWindow W) const;
  bool HasEntry(int32_t G) const { return Find(G) != nullptr; }
  // The distinct edit windows (subscribers with flag 0 and a window) still
  // subscribed to any glyph; the overview caps how many it opens at once.
  int WindowCount() const;

  uint8_t GetEditMode(TWindow W, int32_t G) const;
  void SetEditMode(TWindow W, int32_t G, uint8_t Mode);

  void SelectContour(TWindow W, int32_t G, int32_t C);
  void DeselectContour(TWindow W, int32_t G, int32_t C);
  void ClearContours(TWindow W, int32_t G);
  void SelectPoint(TWindow W, int32_t G, int32_t C, int32_t P);
  void DeselectPoint(TWindow W, int32_t G, int32_t C, int32_t P);
  void ClearPoints(TWindow W, int32_t G);
  void SelectMember(TWindow W, int32_t G, int32_t M);
  void DeselectMember(TWindow W, int32_t G, int32_t M);
  void ClearMembers(TWindow W, int32_t G);

  bool IsContourSelected(int32_t G, int32_t C) const;
  bool IsPointSelected(int32_t G, int32_t C, int32_t P) const;
  bool IsMemberSelected(int32_t G, int32_t M) const;

  void GetContours(TWindow W, int32_t G, TContourSelection& Out) const;
  void GetPoints(TWindow W, int32_t G, TPointSelection& Out) const;
  void GetMembers(TWindow W, int32_t G, TGlyphSelection& Out) const;
  void SetContours(TWindow W, int32_t G, const TContourSelection& Selection);
  void SetPoints(TWindow W, int32_t G, const TPointSelection& Selection);
  void SetMembers(TWindow W, int32_t G, const TGlyphSelection& Selection);

  TFloatRect GetSelectionFrame(TWindow W, int32_t G) const;
  TFloatRect GetMemberFrame(TWindow W, int32_t G) const;
  void SetSelectionFrame(TWindow Caller, int32_t G, const TFloatRect& Frame);
  void SetMemberFrame(TWindow Caller, int32_t G, const TFloatRect& Frame);
  TRealPoint GetTransformOrigin(TWindow W, int32_t G) const;
  void StoreTransformOrigin(TWindow W, int32_t G, TRealPoint Origin);
  uint8_t GetHandleKind(TWindow W, int32_t G) const;
  void SetHandleKind(TWindow W, int32_t G, uint8_t Kind);

  void GlyphChanged(int32_t G);
  void AllGlyphsChanged();
  void GlyphInserted(int32_t G);
  void GlyphDeleted(int32_t G);

private:
  struct TInternalSubscriber {
    TWindow Window;
    uint8_t Flag;
    THandler Handler;
    bool Removed = false;
  };
  struct TInternalSelectionItem {
    int32_t Glyph;
    // The entry of a deleted glyph: out of every lookup by index while its
    // windows close, so it never shadows the glyph renumbered onto its index.
    bool Deleted = false;
    std::vector<TInternalSubscriber> Subscribers;
    TGlyphSelection Members;
    TContourSelection Contours;
    TPointSelection Points;
    uint8_t EditMode = emContour;
    bool Live() const;
  };

  TInternalSelectionItem* Find(int32_t G) const;
  void Notify(TInternalSelectionItem& Item, TWindow Except, bool ExceptAll, TGlyphNotification Kind);
  void NotifyOthers(TWindow W, int32_t G, TGlyphNotification Kind);
  void NotifyAll(TInternalSelectionItem& Item, TGlyphNotification Kind) { Notify(Item, nullptr, false, Kind); }
  void NotifyEveryEntry(TGlyphNotification Kind);
  void Collect();  // drops removed subscribers and empty entries outside walks
  struct TWalk;

  std::vector<std::unique_ptr<TInternalSelectionItem>> FItems;
  TGlyphUsers FUsers;
  int FWalking = 0;
};

}  // namespace tsy
