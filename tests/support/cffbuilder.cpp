#include "support/cffbuilder.h"

namespace tsytest {

namespace {

// DICT integer with the fixed five-byte form, so offsets never change size.
void DictInt(Bytes& B, int32_t V) {
  B.push_back(29);
  Put32(B, uint32_t(V));
}

void Op(Bytes& B, int Operator) {
  if (Operator >= 1200) B.push_back(12), B.push_back(uint8_t(Operator - 1200));
  else B.push_back(uint8_t(Operator));
}

}  // namespace

Bytes CsNum(int V) {
  if (V >= -107 && V <= 107) return {uint8_t(V + 139)};
  Bytes b{28};
  Put16(b, uint16_t(int16_t(V)));
  return b;
}

Bytes Cs(std::initializer_list<int> Operands, int Operator) {
  Bytes b;
  for (int v : Operands) {
    const Bytes n = CsNum(v);
    b.insert(b.end(), n.begin(), n.end());
  }
  Op(b, Operator);
  return b;
}

Bytes CffIndex(const std::vector<Bytes>& Items) {
  Bytes b;
  Put16(b, uint16_t(Items.size()));
  if (Items.empty()) return b;
  b.push_back(4);
  uint32_t offset = 1;
  Put32(b, offset);
  for (const Bytes& i : Items) Put32(b, offset += uint32_t(i.size()));
  for (const Bytes& i : Items) b.insert(b.end(), i.begin(), i.end());
  return b;
}

Bytes BuildCff(const CffParts& P) {
  const bool cid = !P.FontDictSubrs.empty();
  // Offsets depend on the Top DICT's size, which does not depend on them.
  auto topDict = [&](uint32_t CharStrings, uint32_t PrivSize, uint32_t PrivOffset, uint32_t Charset,
                     uint32_t FDArray, uint32_t FDSelect) {
    Bytes d;
    if (cid) DictInt(d, 391), DictInt(d, 392), DictInt(d, 0), Op(d, 1230);  // ROS
    DictInt(d, int32_t(CharStrings)), Op(d, 17);
    if (!cid) {
      DictInt(d, int32_t(Charset)), Op(d, 15);
      DictInt(d, int32_t(PrivSize)), DictInt(d, int32_t(PrivOffset)), Op(d, 18);
    } else {
      DictInt(d, int32_t(FDArray)), Op(d, 1236);
      DictInt(d, int32_t(FDSelect)), Op(d, 1237);
    }
    return d;
  };
  const Bytes header{1, 0, 4, 4};
  const Bytes names = CffIndex({Bytes{'T'}});
  const size_t topSize = CffIndex({topDict(0, 0, 0, 0, 0, 0)}).size();
  const Bytes strings = CffIndex({});
  const Bytes gsubrs = CffIndex(P.GlobalSubrs);
  const Bytes charStrings = CffIndex(P.CharStrings);
  const uint32_t csOffset = uint32_t(header.size() + names.size() + topSize + strings.size() + gsubrs.size());
  uint32_t pos = csOffset + uint32_t(charStrings.size());

  // A Private DICT whose Subrs follow it directly.
  auto privateDict = [&](const std::vector<Bytes>& Subrs) {
    Bytes d;
    if (!Subrs.empty()) {
      DictInt(d, 0);
      Op(d, 19);
      const uint32_t size = uint32_t(d.size());
      d.clear();
      DictInt(d, int32_t(size));
      Op(d, 19);
    }
    return d;
  };
  Bytes tail;
  uint32_t privSize = 0, privOffset = 0, charset = 0, fdArray = 0, fdSelect = 0;
  if (!cid) {
    const Bytes priv = privateDict(P.LocalSubrs);
    privSize = uint32_t(priv.size());
    privOffset = pos;
    tail.insert(tail.end(), priv.begin(), priv.end());
    if (!P.LocalSubrs.empty()) {
      const Bytes l = CffIndex(P.LocalSubrs);
      tail.insert(tail.end(), l.begin(), l.end());
    }
    if (!P.Charset.empty()) {
      charset = pos + uint32_t(tail.size());
      tail.push_back(0);
      for (uint16_t sid : P.Charset) Put16(tail, sid);
    }
  } else {
    // Private DICTs with their Subrs first, then the FDArray naming them.
    std::vector<Bytes> fontDicts;
    for (const auto& subrs : P.FontDictSubrs) {
      const Bytes priv = privateDict(subrs);
      Bytes fd;
      DictInt(fd, int32_t(priv.size()));
      DictInt(fd, int32_t(pos + tail.size()));
      Op(fd, 18);
      fontDicts.push_back(fd);
      tail.insert(tail.end(), priv.begin(), priv.end());
      if (!subrs.empty()) {
        const Bytes l = CffIndex(subrs);
        tail.insert(tail.end(), l.begin(), l.end());
      }
    }
    fdArray = pos + uint32_t(tail.size());
    const Bytes fda = CffIndex(fontDicts);
    tail.insert(tail.end(), fda.begin(), fda.end());
    fdSelect = pos + uint32_t(tail.size());
    tail.push_back(3);
    Put16(tail, uint16_t(P.FDRanges.size()));
    for (auto [first, fd] : P.FDRanges) Put16(tail, first), tail.push_back(fd);
    Put16(tail, uint16_t(P.CharStrings.size()));
  }
  const Bytes top = CffIndex({topDict(csOffset, privSize, privOffset, charset, fdArray, fdSelect)});
  return Concat({header, names, top, strings, gsubrs, charStrings, tail});
}

}  // namespace tsytest
