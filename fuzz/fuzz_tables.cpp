// Loads arbitrary bytes as one typed table and saves what loaded. The first
// byte chooses the table, so every table reader meets hostile bytes directly
// (a whole font reaches them only behind a valid directory). Exceptions of
// the model are accepted answers; a crash, leak or hang is not.
#include <cstdint>
#include <exception>
#include <memory>

#include "fontfile/fontexception.h"
#include "fontfile/tables/cmap.h"
#include "fontfile/tables/gasp.h"
#include "fontfile/tables/kern.h"
#include "fontfile/tables/name.h"
#include "fontfile/tables/os2.h"
#include "fontfile/tables/pclt.h"
#include "fontfile/tables/post.h"
#include "fontfile/warnings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size < 1) return 0;
  std::unique_ptr<tsy::TFontTable> t;
  switch (Data[0] % 7) {
    case 0: {
      auto c = std::make_unique<tsy::TTableCmap>();
      c->GlyphLimit = Data[0] & 0x80 ? 0 : 1000;
      t = std::move(c);
      break;
    }
    case 1: t = std::make_unique<tsy::TTableName>(); break;
    case 2: t = std::make_unique<tsy::TTableOS_2>(); break;
    case 3: t = std::make_unique<tsy::TTablePCLT>(); break;
    case 4: t = std::make_unique<tsy::TTablePost>(); break;
    case 5: t = std::make_unique<tsy::TTableKern>(); break;
    default: t = std::make_unique<tsy::TTableGasp>(); break;
  }
  tsy::TReadOnlyStream in(Data + 1, Size - 1);
  try {
    t->LoadFromStream(in);
    tsy::TMemoryStream out;
    t->SaveToStream(out);
  } catch (const tsy::FontException&) {
  } catch (const tsy::ERangeError&) {
  }
  tsy::TWarningCollector::Clear();
  return 0;
}
