#include "ui/FormText.h"

#include <cstdio>

#include "ui/SysUtils.h"
#include "ui/Utf.h"

namespace qlt {

DfmValue DfmValue::Int(int64_t v) {
  DfmValue r;
  r.kind = Kind::Integer;
  r.integer = v;
  return r;
}
DfmValue DfmValue::Str(std::u16string v) {
  DfmValue r;
  r.kind = Kind::String;
  r.text = std::move(v);
  return r;
}
DfmValue DfmValue::Id(std::string v) {
  DfmValue r;
  r.kind = Kind::Ident;
  r.ident = std::move(v);
  return r;
}
DfmValue DfmValue::SetOf(std::vector<std::string> v) {
  DfmValue r;
  r.kind = Kind::Set;
  r.set = std::move(v);
  return r;
}
DfmValue DfmValue::ListOf(std::vector<std::u16string> v) {
  DfmValue r;
  r.kind = Kind::List;
  r.list = std::move(v);
  return r;
}
DfmValue DfmValue::Bin(std::string v) {
  DfmValue r;
  r.kind = Kind::Binary;
  r.bytes = std::move(v);
  return r;
}

const DfmProperty* DfmObject::Find(std::string_view propName) const {
  for (const auto& p : props) {
    if (SameText(p.name, propName)) return &p;
  }
  return nullptr;
}

namespace {

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

class Parser {
 public:
  explicit Parser(std::string_view text) : text_(text) {}

  DfmObject ParseRoot() {
    SkipSpace();
    if (pos_ < text_.size() && static_cast<unsigned char>(text_[pos_]) == 0xEF) SkipBom();
    DfmObject root = ParseObject();
    SkipSpace();
    if (pos_ != text_.size()) Fail("text after the last 'end'");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw EReadError(Utf8ToUtf16("Form description, line " + std::to_string(line_) + ": " + what));
  }

  void SkipBom() {
    if (text_.substr(pos_, 3) == "\xEF\xBB\xBF") pos_ += 3;
  }

  void SkipSpace() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_, ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        break;
      }
    }
  }

  bool AtEnd() {
    SkipSpace();
    return pos_ >= text_.size();
  }

  char Peek() {
    SkipSpace();
    return pos_ < text_.size() ? text_[pos_] : '\0';
  }

  void Expect(char c) {
    if (Peek() != c) Fail(std::string("'") + c + "' expected");
    ++pos_;
  }

  // An identifier, with dots when dotted is set ("Font.Name").
  std::string Ident(bool dotted) {
    SkipSpace();
    if (pos_ >= text_.size() || !IsIdentStart(text_[pos_])) Fail("identifier expected");
    const size_t start = pos_;
    while (pos_ < text_.size() && (IsIdentChar(text_[pos_]) || (dotted && text_[pos_] == '.'))) ++pos_;
    return std::string(text_.substr(start, pos_ - start));
  }

  bool AtKeyword(std::string_view word) {
    SkipSpace();
    if (text_.size() - pos_ < word.size()) return false;
    if (!SameText(text_.substr(pos_, word.size()), word)) return false;
    const size_t after = pos_ + word.size();
    return after >= text_.size() || !IsIdentChar(text_[after]);
  }

  DfmObject ParseObject() {
    if (!AtKeyword("object")) Fail("'object' expected");
    DfmObject obj;
    obj.line = line_;
    pos_ += 6;
    obj.name = Ident(false);
    Expect(':');
    obj.className = Ident(false);
    while (true) {
      if (AtEnd()) Fail("'end' expected before the end of the text");
      if (AtKeyword("end")) {
        pos_ += 3;
        return obj;
      }
      if (AtKeyword("object")) {
        obj.children.push_back(ParseObject());
        continue;
      }
      DfmProperty prop;
      prop.line = line_;
      prop.name = Ident(true);
      Expect('=');
      prop.value = ParseValue();
      obj.props.push_back(std::move(prop));
    }
  }

  DfmValue ParseValue() {
    const char c = Peek();
    if (c == '\'' || c == '#') return DfmValue::Str(ParseString());
    if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) return DfmValue::Int(ParseInteger());
    if (c == '[') return ParseSet();
    if (c == '(') return ParseList();
    if (c == '{') return ParseBinary();
    if (IsIdentStart(c)) return DfmValue::Id(Ident(true));
    Fail("value expected");
  }

  int64_t ParseInteger() {
    SkipSpace();
    bool negative = false;
    if (text_[pos_] == '-' || text_[pos_] == '+') negative = text_[pos_++] == '-';
    int base = 10;
    if (pos_ < text_.size() && text_[pos_] == '$') base = 16, ++pos_;
    const size_t start = pos_;
    int64_t v = 0;
    while (pos_ < text_.size()) {
      const char d = text_[pos_];
      int digit = -1;
      if (d >= '0' && d <= '9') digit = d - '0';
      else if (base == 16 && d >= 'a' && d <= 'f') digit = d - 'a' + 10;
      else if (base == 16 && d >= 'A' && d <= 'F') digit = d - 'A' + 10;
      if (digit < 0) break;
      v = v * base + digit;
      if (v > (int64_t{1} << 40)) Fail("number too large");
      ++pos_;
    }
    if (pos_ == start) Fail("digits expected");
    return negative ? -v : v;
  }

  // One or more pieces ('text', #code) joined directly or by '+' across lines.
  std::u16string ParseString() {
    std::u16string out;
    SkipSpace();
    while (true) {
      const char c = pos_ < text_.size() ? text_[pos_] : '\0';
      if (c == '\'') {
        ++pos_;
        size_t start = pos_;
        std::string piece;
        while (true) {
          if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("unterminated string");
          if (text_[pos_] == '\'') {
            if (pos_ + 1 < text_.size() && text_[pos_ + 1] == '\'') {
              piece.append(text_.substr(start, pos_ + 1 - start));
              pos_ += 2;
              start = pos_;
              continue;
            }
            piece.append(text_.substr(start, pos_ - start));
            ++pos_;
            break;
          }
          ++pos_;
        }
        out += Utf8ToUtf16(piece);
      } else if (c == '#') {
        ++pos_;
        const int64_t code = ParseInteger();
        if (code < 0 || code > 0xFFFF) Fail("character code out of range");
        out += static_cast<char16_t>(code);
      } else {
        Fail("string expected");
      }
      // Pieces written together ('a'#13'b') belong to one string; so do pieces joined by '+'
      // across lines. Anything else (a blank, a line end) ends it: list items are separate strings.
      if (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) continue;
      if (Peek() == '+') {
        ++pos_;
        const char n = Peek();
        if (n != '\'' && n != '#') Fail("string expected after '+'");
        continue;
      }
      break;
    }
    return out;
  }

  DfmValue ParseSet() {
    Expect('[');
    std::vector<std::string> elements;
    if (Peek() == ']') {
      ++pos_;
      return DfmValue::SetOf(elements);
    }
    while (true) {
      elements.push_back(Ident(false));
      const char c = Peek();
      ++pos_;
      if (c == ']') break;
      if (c != ',') Fail("',' or ']' expected");
    }
    return DfmValue::SetOf(std::move(elements));
  }

  DfmValue ParseList() {
    Expect('(');
    std::vector<std::u16string> items;
    while (Peek() != ')') {
      const char c = Peek();
      if (c != '\'' && c != '#') Fail("string expected in the list");
      items.push_back(ParseString());
    }
    ++pos_;
    return DfmValue::ListOf(std::move(items));
  }

  DfmValue ParseBinary() {
    Expect('{');
    std::string bytes;
    int high = -1;
    while (true) {
      SkipSpace();
      if (pos_ >= text_.size()) Fail("'}' expected");
      const char c = text_[pos_++];
      if (c == '}') break;
      int v = -1;
      if (c >= '0' && c <= '9') v = c - '0';
      else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
      else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
      if (v < 0) Fail("hexadecimal digit expected");
      if (high < 0) {
        high = v;
      } else {
        bytes += static_cast<char>(high * 16 + v);
        high = -1;
      }
    }
    if (high >= 0) Fail("odd number of hexadecimal digits");
    return DfmValue::Bin(std::move(bytes));
  }

  std::string_view text_;
  size_t pos_ = 0;
  int line_ = 1;
};

// Printable characters stay as they are (Chinese text stays readable); control characters and a
// quote are written the Pascal way.
std::string QuoteString(std::u16string_view text) {
  if (text.empty()) return "''";
  std::string out;
  bool open = false;
  for (char16_t c : text) {
    if (c < 0x20 || c == 0x7F || (c >= 0xD800 && c <= 0xDFFF)) {
      if (open) out += '\'', open = false;
      out += '#' + std::to_string(static_cast<int>(c));
    } else {
      if (!open) out += '\'', open = true;
      if (c == u'\'') out += '\'';
      out += Utf16ToUtf8(std::u16string_view(&c, 1));
    }
  }
  if (open) out += '\'';
  return out;
}

void WriteValue(std::string& out, const DfmValue& v, const std::string& indent) {
  switch (v.kind) {
    case DfmValue::Kind::Integer:
      out += std::to_string(v.integer);
      break;
    case DfmValue::Kind::String:
      out += QuoteString(v.text);
      break;
    case DfmValue::Kind::Ident:
      out += v.ident;
      break;
    case DfmValue::Kind::Set:
      out += '[';
      for (size_t i = 0; i < v.set.size(); ++i) out += (i ? ", " : "") + v.set[i];
      out += ']';
      break;
    case DfmValue::Kind::List:
      out += '(';
      for (const auto& item : v.list) out += "\n" + indent + "  " + QuoteString(item);
      out += ")";
      break;
    case DfmValue::Kind::Binary: {
      static const char kHex[] = "0123456789ABCDEF";
      out += '{';
      for (size_t i = 0; i < v.bytes.size(); ++i) {
        if (i % 32 == 0) out += "\n" + indent + "  ";
        const auto b = static_cast<unsigned char>(v.bytes[i]);
        out += kHex[b >> 4];
        out += kHex[b & 15];
      }
      out += '}';
      break;
    }
  }
}

void WriteObject(std::string& out, const DfmObject& obj, const std::string& indent) {
  out += indent + "object " + obj.name + ": " + obj.className + "\n";
  for (const auto& p : obj.props) {
    out += indent + "  " + p.name + " = ";
    WriteValue(out, p.value, indent + "  ");
    out += "\n";
  }
  for (const auto& child : obj.children) WriteObject(out, child, indent + "  ");
  out += indent + "end\n";
}

}  // namespace

DfmObject ParseFormText(std::string_view utf8) { return Parser(utf8).ParseRoot(); }

std::string WriteFormText(const DfmObject& root) {
  std::string out;
  WriteObject(out, root, "");
  return out;
}

}  // namespace qlt
