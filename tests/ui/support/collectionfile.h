#pragma once
// A font collection written from single font files, for the windows that
// open and extract collections.
#include <QString>
#include <QStringList>

namespace tsy::test {

// Writes a "ttcf" 1.0 file holding Fonts in order (each member keeps its own
// tables; their offsets are moved to count from the collection's start).
// False when a font cannot be read or the target cannot be written.
bool WriteCollectionFile(const QStringList& Fonts, const QString& Target);

}  // namespace tsy::test
