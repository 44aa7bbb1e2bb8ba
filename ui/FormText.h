#pragma once
// The text format of form descriptions: nested objects with their properties, one per line.
//
//   object Frm_Main: TFrm_Main
//     Caption = 'QLTZarnit'           strings: '...' with '' for a quote, #13 for a character code,
//     ClientWidth = 371                        and + to join pieces across lines
//     Visible = False                  identifiers (booleans, enumerations, colours, handler names)
//     Font.Style = [fsBold]            sets;  Font.Style: a property of a sub-object
//     Items.Strings = ( 'a' 'b' )      string lists
//     SkinStream = { 0A0B0C }          binary data in hexadecimal
//     object Btn_Hide: TButton         nested objects: owned by the root, parented by the enclosing one
//       OnClick = Btn_HideClick
//     end
//   end
//
// The file is UTF-8. Portable: no <windows.h>.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qlt {

struct DfmValue {
  enum class Kind { Integer, String, Ident, Set, List, Binary };
  Kind kind = Kind::Integer;
  int64_t integer = 0;
  std::u16string text;              // String
  std::string ident;                // Ident
  std::vector<std::string> set;     // Set: element identifiers
  std::vector<std::u16string> list; // List
  std::string bytes;                // Binary

  static DfmValue Int(int64_t v);
  static DfmValue Str(std::u16string v);
  static DfmValue Id(std::string v);
  static DfmValue SetOf(std::vector<std::string> v);
  static DfmValue ListOf(std::vector<std::u16string> v);
  static DfmValue Bin(std::string v);
  bool operator==(const DfmValue&) const = default;
};

struct DfmProperty {
  std::string name;  // possibly dotted: "Font.Name"
  DfmValue value;
  int line = 0;      // where it was read (for messages), 0 when built in code
};

struct DfmObject {
  std::string name;
  std::string className;
  std::vector<DfmProperty> props;
  std::vector<DfmObject> children;
  int line = 0;
  const DfmProperty* Find(std::string_view propName) const;  // letter case ignored
};

// Throws EReadError naming the line for text that is not a description.
DfmObject ParseFormText(std::string_view utf8);
std::string WriteFormText(const DfmObject& root);

}  // namespace qlt
