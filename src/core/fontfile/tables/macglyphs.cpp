#include "fontfile/tables/macglyphs.h"

#include <string>
#include <unordered_map>

namespace tsy {

namespace {

constexpr TheTheMacintoshCharacterSets kMacGlyphs[kStandardMacGlyphCount] = {
    {-1, 0xFFFF, ".notdef"},  // 0
    {-1, 0x0000, "null"},  // 1
    {-1, 0x000D, "CR"},  // 2
    {0x0020, 0x0020, "space"},  // 3
    {0x0021, 0x0021, "exclam"},  // 4
    {0x0022, 0x0022, "quotedbl"},  // 5
    {0x0023, 0x0023, "numbersign"},  // 6
    {0x0024, 0x0024, "dollar"},  // 7
    {0x0025, 0x0025, "percent"},  // 8
    {0x0026, 0x0026, "ampersand"},  // 9
    {0x0027, 0x0027, "quotesingle"},  // 10
    {0x0028, 0x0028, "parenleft"},  // 11
    {0x0029, 0x0029, "parenright"},  // 12
    {0x002A, 0x002A, "asterisk"},  // 13
    {0x002B, 0x002B, "plus"},  // 14
    {0x002C, 0x002C, "comma"},  // 15
    {0x002D, 0x002D, "hyphen"},  // 16
    {0x002E, 0x002E, "period"},  // 17
    {0x002F, 0x002F, "slash"},  // 18
    {0x0030, 0x0030, "zero"},  // 19
    {0x0031, 0x0031, "one"},  // 20
    {0x0032, 0x0032, "two"},  // 21
    {0x0033, 0x0033, "three"},  // 22
    {0x0034, 0x0034, "four"},  // 23
    {0x0035, 0x0035, "five"},  // 24
    {0x0036, 0x0036, "six"},  // 25
    {0x0037, 0x0037, "seven"},  // 26
    {0x0038, 0x0038, "eight"},  // 27
    {0x0039, 0x0039, "nine"},  // 28
    {0x003A, 0x003A, "colon"},  // 29
    {0x003B, 0x003B, "semicolon"},  // 30
    {0x003C, 0x003C, "less"},  // 31
    {0x003D, 0x003D, "equal"},  // 32
    {0x003E, 0x003E, "greater"},  // 33
    {0x003F, 0x003F, "question"},  // 34
    {0x0040, 0x0040, "at"},  // 35
    {0x0041, 0x0041, "A"},  // 36
    {0x0042, 0x0042, "B"},  // 37
    {0x0043, 0x0043, "C"},  // 38
    {0x0044, 0x0044, "D"},  // 39
    {0x0045, 0x0045, "E"},  // 40
    {0x0046, 0x0046, "F"},  // 41
    {0x0047, 0x0047, "G"},  // 42
    {0x0048, 0x0048, "H"},  // 43
    {0x0049, 0x0049, "I"},  // 44
    {0x004A, 0x004A, "J"},  // 45
    {0x004B, 0x004B, "K"},  // 46
    {0x004C, 0x004C, "L"},  // 47
    {0x004D, 0x004D, "M"},  // 48
    {0x004E, 0x004E, "N"},  // 49
    {0x004F, 0x004F, "O"},  // 50
    {0x0050, 0x0050, "P"},  // 51
    {0x0051, 0x0051, "Q"},  // 52
    {0x0052, 0x0052, "R"},  // 53
    {0x0053, 0x0053, "S"},  // 54
    {0x0054, 0x0054, "T"},  // 55
    {0x0055, 0x0055, "U"},  // 56
    {0x0056, 0x0056, "V"},  // 57
    {0x0057, 0x0057, "W"},  // 58
    {0x0058, 0x0058, "X"},  // 59
    {0x0059, 0x0059, "Y"},  // 60
    {0x005A, 0x005A, "Z"},  // 61
    {0x005B, 0x005B, "bracketleft"},  // 62
    {0x005C, 0x005C, "backslash"},  // 63
    {0x005D, 0x005D, "bracketright"},  // 64
    {0x005E, 0x005E, "asciicircum"},  // 65
    {0x005F, 0x005F, "underscore"},  // 66
    {0x0060, 0x0060, "grave"},  // 67
    {0x0061, 0x0061, "a"},  // 68
    {0x0062, 0x0062, "b"},  // 69
    {0x0063, 0x0063, "c"},  // 70
    {0x0064, 0x0064, "d"},  // 71
    {0x0065, 0x0065, "e"},  // 72
    {0x0066, 0x0066, "f"},  // 73
    {0x0067, 0x0067, "g"},  // 74
    {0x0068, 0x0068, "h"},  // 75
    {0x0069, 0x0069, "i"},  // 76
    {0x006A, 0x006A, "j"},  // 77
    {0x006B, 0x006B, "k"},  // 78
    {0x006C, 0x006C, "l"},  // 79
    {0x006D, 0x006D, "m"},  // 80
    {0x006E, 0x006E, "n"},  // 81
    {0x006F, 0x006F, "o"},  // 82
    {0x0070, 0x0070, "p"},  // 83
    {0x0071, 0x0071, "q"},  // 84
    {0x0072, 0x0072, "r"},  // 85
    {0x0073, 0x0073, "s"},  // 86
    {0x0074, 0x0074, "t"},  // 87
    {0x0075, 0x0075, "u"},  // 88
    {0x0076, 0x0076, "v"},  // 89
    {0x0077, 0x0077, "w"},  // 90
    {0x0078, 0x0078, "x"},  // 91
    {0x0079, 0x0079, "y"},  // 92
    {0x007A, 0x007A, "z"},  // 93
    {0x007B, 0x007B, "braceleft"},  // 94
    {0x007C, 0x007C, "bar"},  // 95
    {0x007D, 0x007D, "braceright"},  // 96
    {0x007E, 0x007E, "asciitilde"},  // 97
    {0x00C4, 0x0080, "Adieresis"},  // 98
    {0x00C5, 0x0081, "Aring"},  // 99
    {0x00C7, 0x0082, "Ccedilla"},  // 100
    {0x00C9, 0x0083, "Eacute"},  // 101
    {0x00D1, 0x0084, "Ntilde"},  // 102
    {0x00D6, 0x0085, "Odieresis"},  // 103
    {0x00DC, 0x0086, "Udieresis"},  // 104
    {0x00E1, 0x0087, "aacute"},  // 105
    {0x00E0, 0x0088, "agrave"},  // 106
    {0x00E2, 0x0089, "acircumflex"},  // 107
    {0x00E4, 0x008A, "adieresis"},  // 108
    {0x00E3, 0x008B, "atilde"},  // 109
    {0x00E5, 0x008C, "aring"},  // 110
    {0x00E7, 0x008D, "ccedilla"},  // 111
    {0x00E9, 0x008E, "eacute"},  // 112
    {0x00E8, 0x008F, "egrave"},  // 113
    {0x00EA, 0x0090, "ecircumflex"},  // 114
    {0x00EB, 0x0091, "edieresis"},  // 115
    {0x00ED, 0x0092, "iacute"},  // 116
    {0x00EC, 0x0093, "igrave"},  // 117
    {0x00EE, 0x0094, "icircumflex"},  // 118
    {0x00EF, 0x0095, "idieresis"},  // 119
    {0x00F1, 0x0096, "ntilde"},  // 120
    {0x00F3, 0x0097, "oacute"},  // 121
    {0x00F2, 0x0098, "ograve"},  // 122
    {0x00F4, 0x0099, "ocircumflex"},  // 123
    {0x00F6, 0x009A, "odieresis"},  // 124
    {0x00F5, 0x009B, "otilde"},  // 125
    {0x00FA, 0x009C, "uacute"},  // 126
    {0x00F9, 0x009D, "ugrave"},  // 127
    {0x00FB, 0x009E, "ucircumflex"},  // 128
    {0x00FC, 0x009F, "udieresis"},  // 129
    {0x2020, 0x00A0, "dagger"},  // 130
    {0x00B0, 0x00A1, "degree"},  // 131
    {0x00A2, 0x00A2, "cent"},  // 132
    {0x00A3, 0x00A3, "sterling"},  // 133
    {0x00A7, 0x00A4, "section"},  // 134
    {0x2022, 0x00A5, "bullet"},  // 135
    {0x00B6, 0x00A6, "paragraph"},  // 136
    {0x00DF, 0x00A7, "germandbls"},  // 137
    {0x00AE, 0x00A8, "registered"},  // 138
    {0x00A9, 0x00A9, "copyright"},  // 139
    {0x2122, 0x00AA, "trademark"},  // 140
    {0x00B4, 0x00AB, "acute"},  // 141
    {0x00A8, 0x00AC, "dieresis"},  // 142
    {0x2260, 0x00AD, "notequal"},  // 143
    {0x00C6, 0x00AE, "AE"},  // 144
    {0x00D8, 0x00AF, "Oslash"},  // 145
    {0x221E, 0x00B0, "infinity"},  // 146
    {0x00B1, 0x00B1, "plusminus"},  // 147
    {0x2264, 0x00B2, "lessequal"},  // 148
    {0x2265, 0x00B3, "greaterequal"},  // 149
    {0x00A5, 0x00B4, "yen"},  // 150
    {0x00B5, 0x00B5, "mu"},  // 151
    {0x2202, 0x00B6, "partialdiff"},  // 152
    {0x2211, 0x00B7, "summation"},  // 153
    {0x220F, 0x00B8, "product"},  // 154
    {0x03C0, 0x00B9, "pi"},  // 155
    {0x222B, 0x00BA, "integral"},  // 156
    {0x00AA, 0x00BB, "ordfeminine"},  // 157
    {0x00BA, 0x00BC, "ordmasculine"},  // 158
    {0x2126, 0x00BD, "Omega"},  // 159
    {0x00E6, 0x00BE, "ae"},  // 160
    {0x00F8, 0x00BF, "oslash"},  // 161
    {0x00BF, 0x00C0, "questiondown"},  // 162
    {0x00A1, 0x00C1, "exclamdown"},  // 163
    {0x00AC, 0x00C2, "logicalnot"},  // 164
    {0x221A, 0x00C3, "radical"},  // 165
    {0x0192, 0x00C4, "florin"},  // 166
    {0x2248, 0x00C5, "approxequal"},  // 167
    {0x2206, 0x00C6, "Delta"},  // 168
    {0x00AB, 0x00C7, "guillemotleft"},  // 169
    {0x00BB, 0x00C8, "guillemotright"},  // 170
    {0x2026, 0x00C9, "ellipsis"},  // 171
    {0x00A0, 0x00CA, "nbspace"},  // 172
    {0x00C0, 0x00CB, "Agrave"},  // 173
    {0x00C3, 0x00CC, "Atilde"},  // 174
    {0x00D5, 0x00CD, "Otilde"},  // 175
    {0x0152, 0x00CE, "OE"},  // 176
    {0x0153, 0x00CF, "oe"},  // 177
    {0x2013, 0x00D0, "endash"},  // 178
    {0x2014, 0x00D1, "emdash"},  // 179
    {0x201C, 0x00D2, "quotedblleft"},  // 180
    {0x201D, 0x00D3, "quotedblright"},  // 181
    {0x2018, 0x00D4, "quoteleft"},  // 182
    {0x2019, 0x00D5, "quoteright"},  // 183
    {0x00F7, 0x00D6, "divide"},  // 184
    {0x25CA, 0x00D7, "lozenge"},  // 185
    {0x00FF, 0x00D8, "ydieresis"},  // 186
    {0x0178, 0x00D9, "Ydieresis"},  // 187
    {0x2215, 0x00DA, "fraction"},  // 188
    {0x00A4, 0x00DB, "currency"},  // 189
    {0x2039, 0x00DC, "guilsinglleft"},  // 190
    {0x203A, 0x00DD, "guilsinglright"},  // 191
    {0xFB01, 0x00DE, "fi"},  // 192
    {0xFB02, 0x00DF, "fl"},  // 193
    {0x2021, 0x00E0, "daggerdbl"},  // 194
    {0x2219, 0x00E1, "periodcentered"},  // 195
    {0x201A, 0x00E2, "quotesinglbase"},  // 196
    {0x201E, 0x00E3, "quotedblbase"},  // 197
    {0x2030, 0x00E4, "perthousand"},  // 198
    {0x00C2, 0x00E5, "Acircumflex"},  // 199
    {0x00CA, 0x00E6, "Ecircumflex"},  // 200
    {0x00C1, 0x00E7, "Aacute"},  // 201
    {0x00CB, 0x00E8, "Edieresis"},  // 202
    {0x00C8, 0x00E9, "Egrave"},  // 203
    {0x00CD, 0x00EA, "Iacute"},  // 204
    {0x00CE, 0x00EB, "Icircumflex"},  // 205
    {0x00CF, 0x00EC, "Idieresis"},  // 206
    {0x00CC, 0x00ED, "Igrave"},  // 207
    {0x00D3, 0x00EE, "Oacute"},  // 208
    {0x00D4, 0x00EF, "Ocircumflex"},  // 209
    {-1, 0x00F0, "Apple"},  // 210
    {0x00D2, 0x00F1, "Ograve"},  // 211
    {0x00DA, 0x00F2, "Uacute"},  // 212
    {0x00DB, 0x00F3, "Ucircumflex"},  // 213
    {0x00D9, 0x00F4, "Ugrave"},  // 214
    {0x0131, 0x00F5, "dotlessi"},  // 215
    {0x02C6, 0x00F6, "circumflex"},  // 216
    {0x02DC, 0x00F7, "tilde"},  // 217
    {0x00AF, 0x00F8, "macron"},  // 218
    {0x02D8, 0x00F9, "breve"},  // 219
    {0x02D9, 0x00FA, "dotaccent"},  // 220
    {0x02DA, 0x00FB, "ring"},  // 221
    {0x00B8, 0x00FC, "cedilla"},  // 222
    {0x02DD, 0x00FD, "hungarumlaut"},  // 223
    {0x02DB, 0x00FE, "ogonek"},  // 224
    {0x02C7, 0x00FF, "caron"},  // 225
    {0x0141, 0xFFFF, "Lslash"},  // 226
    {0x0142, 0xFFFF, "lslash"},  // 227
    {0x0160, 0xFFFF, "Scaron"},  // 228
    {0x0161, 0xFFFF, "scaron"},  // 229
    {0x017D, 0xFFFF, "Zcaron"},  // 230
    {0x017E, 0xFFFF, "zcaron"},  // 231
    {0x00A6, 0xFFFF, "brokenbar"},  // 232
    {0x00D0, 0xFFFF, "Eth"},  // 233
    {0x00F0, 0xFFFF, "eth"},  // 234
    {0x00DD, 0xFFFF, "Yacute"},  // 235
    {0x00FD, 0xFFFF, "yacute"},  // 236
    {0x00DE, 0xFFFF, "Thorn"},  // 237
    {0x00FE, 0xFFFF, "thorn"},  // 238
    {0x2212, 0xFFFF, "minus"},  // 239
    {0x00D7, 0xFFFF, "multiply"},  // 240
    {0x00B9, 0xFFFF, "onesuperior"},  // 241
    {0x00B2, 0xFFFF, "twosuperior"},  // 242
    {0x00B3, 0xFFFF, "threesuperior"},  // 243
    {0x00BD, 0xFFFF, "onehalf"},  // 244
    {0x00BC, 0xFFFF, "onequarter"},  // 245
    {0x00BE, 0xFFFF, "threequarters"},  // 246
    {0x20A3, 0xFFFF, "franc"},  // 247
    {0x011E, 0xFFFF, "Gbreve"},  // 248
    {0x011F, 0xFFFF, "gbreve"},  // 249
    {0x0130, 0xFFFF, "Idot"},  // 250
    {0x015E, 0xFFFF, "Scedilla"},  // 251
    {0x015F, 0xFFFF, "scedilla"},  // 252
    {0x0106, 0xFFFF, "Cacute"},  // 253
    {0x0107, 0xFFFF, "cacute"},  // 254
    {0x010C, 0xFFFF, "Ccaron"},  // 255
    {0x010D, 0xFFFF, "ccaron"},  // 256
    {0x0111, 0xFFFF, "dcroat"},  // 257
};

}  // namespace

const TheTheMacintoshCharacterSets& StandardMacGlyph(int Index) { return kMacGlyphs[Index]; }

int MacRomanToUnicode(int Code) {
  static const auto table = [] {
    std::unordered_map<int, int> m;
    for (const auto& e : kMacGlyphs)
      if (e.MacCode != 0xFFFF) m.emplace(e.MacCode, e.Unicode);
    return m;
  }();
  auto it = table.find(Code);
  return it == table.end() ? -1 : it->second;
}

int UnicodeToMacRoman(int Unicode) {
  // Only entries that carry a Macintosh code answer: brokenbar and the other
  // glyphs past the Roman set share no code.
  static const auto table = [] {
    std::unordered_map<int, int> m;
    for (const auto& e : kMacGlyphs)
      if (e.MacCode != 0xFFFF && e.Unicode >= 0) m.emplace(e.Unicode, e.MacCode);
    return m;
  }();
  auto it = table.find(Unicode);
  return it == table.end() ? -1 : it->second;
}

int StandardNameIndex(std::string_view Name) {
  static const auto table = [] {
    std::unordered_map<std::string, int> m;
    for (int i = 0; i < kStandardMacGlyphCount; ++i) m.emplace(kMacGlyphs[i].Name, i);
    return m;
  }();
  auto it = table.find(std::string(Name));
  return it == table.end() ? -1 : it->second;
}

}  // namespace tsy
