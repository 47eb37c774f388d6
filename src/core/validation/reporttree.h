#pragma once
// The problem report tree: a root whose children are glyph nodes, whose
// children are test nodes, whose children are the finding lines. Both report
// windows and `tsytool validate` show or save this tree.
#include <memory>
#include <string>
#include <vector>

#include "fontfile/stream.h"

namespace tsy {

// Icons of the report views; the numbers are the image indexes of the trees.
enum TReportImage : int {
  riDetail = 0,
  riGlyph = 1,
  riDuplicate = 2,           // duplicate components or contours
  riEmptyOrSmall = 3,        // empty components, contours with one or two points
  riOffCurveExtremes = 4,
  riRedundantPoints = 5,
  riDuplicateKnots = 6,
  riIntersections = 7,
  riWrongDirection = 8,
  riNotRun = 9,
};

class TRecurReportList {
public:
  TRecurReportList() = default;
  TRecurReportList(std::string Text, int ImageIndex) : Text(std::move(Text)), ImageIndex(ImageIndex) {}
  TRecurReportList(const TRecurReportList&) = delete;
  TRecurReportList& operator=(const TRecurReportList&) = delete;

  std::string Text;
  int ImageIndex = riDetail;

  // Appends a new child and returns it; the tree owns it.
  TRecurReportList* AddChild(const std::string& Text, int ImageIndex);
  // One detail child per line.
  void AddLines(const std::vector<std::string>& Lines);
  // Moves every child of Other to the end of this node's children.
  void TakeChildren(TRecurReportList& Other);
  void Clear() { FItems.clear(); }
  int Count() const { return int(FItems.size()); }
  TRecurReportList& Items(int Index) const { return *FItems.at(size_t(Index)); }

private:
  std::vector<std::unique_ptr<TRecurReportList>> FItems;
};

// The saved report: every node below Root depth first (a node, then its
// children), one line each, indented by two spaces per level (the root's
// children not at all), ended by CR LF, as 8-bit text.
void SaveReportText(TStream& S, const TRecurReportList& Root);
std::string ReportText(const TRecurReportList& Root);

}  // namespace tsy
