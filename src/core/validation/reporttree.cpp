#include "validation/reporttree.h"

namespace tsy {

TRecurReportList* TRecurReportList::AddChild(const std::string& ChildText, int ChildImage) {
  FItems.push_back(std::make_unique<TRecurReportList>(ChildText, ChildImage));
  return FItems.back().get();
}

void TRecurReportList::AddLines(const std::vector<std::string>& Lines) {
  for (const std::string& line : Lines) AddChild(line, riDetail);
}

void TRecurReportList::TakeChildren(TRecurReportList& Other) {
  for (auto& child : Other.FItems) FItems.push_back(std::move(child));
  Other.FItems.clear();
}

namespace {

void AppendNode(std::string& Out, const TRecurReportList& Node, int Depth) {
  for (int i = 0; i < Node.Count(); ++i) {
    const TRecurReportList& child = Node.Items(i);
    Out.append(size_t(Depth) * 2, ' ');
    Out += child.Text;
    Out += "\r\n";
    AppendNode(Out, child, Depth + 1);
  }
}

}  // namespace

std::string ReportText(const TRecurReportList& Root) {
  std::string out;
  AppendNode(out, Root, 0);
  return out;
}

void SaveReportText(TStream& S, const TRecurReportList& Root) {
  const std::string text = ReportText(Root);
  S.Write(text.data(), text.size());
}

}  // namespace tsy
