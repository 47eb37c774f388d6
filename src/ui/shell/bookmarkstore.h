#pragma once
// The program's ten bookmarks, shared by every overview window, kept in
// "bookmarks.txt" in the user's data folder. They are read on first use and
// written (beside the old file, then renamed over it) after every change.
#include <QString>

#include "document/bookmarks.h"

namespace tsy {

class TBookmarkStore {
public:
  // The bookmarks, read from the file on first use. A damaged file is
  // reported once (after the current event) and kept as
  // "bookmarks.txt.damaged" before it is ever written over.
  static TBookmarks& Bookmarks();
  // Writes the bookmarks; a failure is ignored (bookmarks are a convenience).
  static void Save();

  // The file; the default lies in the user's data folder. Setting a name
  // (tests) forgets the bookmarks read so far.
  static QString FileName();
  static void SetFileName(const QString& Name);
};

}  // namespace tsy
