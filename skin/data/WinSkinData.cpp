#include "skin/data/WinSkinData.h"

#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "resources/ResourceIds.h"
#include "skin/controls/SkinManager.h"
#include "skin/data/SkinReader.h"
#include "ui/Forms.h"
#include "ui/Utf.h"

namespace qlt {
namespace {

bool IsUnicodePlatform() {
  static const bool nt = [] {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return !GetVersionExW(&info) || info.dwPlatformId == VER_PLATFORM_WIN32_NT;
#pragma GCC diagnostic pop
  }();
  return nt;
}

ByteView AsBytes(const std::string& s) { return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()}; }

void PutLe32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out += static_cast<char>(v >> (8 * i));
}

// A bitmap resource is a bitmap file without its 14-byte file header.
std::string BitmapResourceFile(HMODULE module, int id) {
  HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), reinterpret_cast<LPCWSTR>(RT_BITMAP));
  if (!info) return {};
  HGLOBAL data = LoadResource(module, info);
  const DWORD size = SizeofResource(module, info);
  const auto* bytes = data ? static_cast<const char*>(LockResource(data)) : nullptr;
  if (!bytes || size < sizeof(BITMAPINFOHEADER)) return {};
  BITMAPINFOHEADER header;
  std::memcpy(&header, bytes, sizeof(header));
  DWORD colours = header.biClrUsed;
  if (colours == 0 && header.biBitCount <= 8) colours = 1u << header.biBitCount;
  std::string file = "BM";
  PutLe32(file, 14 + size);
  PutLe32(file, 0);
  PutLe32(file, 14 + header.biSize + colours * 4);
  file.append(bytes, size);
  return file;
}

void ShowDefault(const std::u16string& text) {
  if (Application) {
    Application->ShowMessage(text);
  } else {
    MessageBoxW(nullptr, reinterpret_cast<const wchar_t*>(text.c_str()), L"QLT", MB_OK | MB_ICONWARNING);
  }
}

}  // namespace

SkinMessageHandler& SkinMessageBox() {
  static SkinMessageHandler handler = ShowDefault;
  return handler;
}

COLORREF SkinColourToRgb(TColor colour, COLORREF fallback) {
  if (colour == clNone || colour == kColourNotGiven) return fallback;
  if (IsSystemColor(colour)) return GetSysColor(colour & 0xFF);
  return static_cast<COLORREF>(colour & 0xFFFFFF);
}

int DrawTextAnsi(HDC dc, std::u16string_view text, RECT& rect, UINT format) {
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int length = static_cast<int>(text.size());
  const int size = std::max(WideCharToMultiByte(CP_ACP, 0, wide, length, nullptr, 0, nullptr, nullptr), 0);
  // Room after the text for what DT_MODIFYSTRING writes back (the shortened text with its ellipsis).
  std::string ansi(static_cast<std::size_t>(size) + kModifiedTextRoom, '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, length, ansi.data(), size, nullptr, nullptr);
  return DrawTextA(dc, ansi.data(), -1, &rect, format);
}

const TClassInfo& TSkinData::StaticClass() {
  static const TClassInfo info =
      ClassBuilder<TSkinData, TComponent>("TSkinData")
          .Bool("Active", &TSkinData::Active, &TSkinData::SetActive)
          .Int("DisableTag", &TSkinData::DisableTag, &TSkinData::SetDisableTag)
          .Default(99)
          .Set("SkinControls", SkinControlTypeInfo(), &TSkinData::SkinControls, &TSkinData::SetSkinControls)
          .Default(kDefaultSkinControls)
          .Object<TStringList>("Skin3rd", &TSkinData::Skin3rd)
          .Str("SkinFile", &TSkinData::SkinFile, &TSkinData::SetSkinFile)
          .Str("SkinStore", &TSkinData::SkinStore, &TSkinData::SetSkinStore)
          .Enum("SkinFormtype", SkinFormTypeInfo(), &TSkinData::SkinFormtype, &TSkinData::SetSkinFormtype)
          .Str("Version", &TSkinData::Version, &TSkinData::SetVersion)
          .Bool("MenuUpdate", &TSkinData::MenuUpdate, &TSkinData::SetMenuUpdate)
          .Default(1)
          .Bool("MenuMerge", &TSkinData::MenuMerge, &TSkinData::SetMenuMerge)
          .Event("OnFormSkin", &TSkinData::OnFormSkin)
          .Event("OnSkinChanged", &TSkinData::OnSkinChanged)
          .Event("OnSkinControl", &TSkinData::OnSkinControl)
          .Build();
  return info;
}

TSkinData::TSkinData(TComponent* owner) : TComponent(owner) {
  std::vector<std::u16string> rows;
  for (std::u16string_view row : DefaultSkin3rdRows()) rows.emplace_back(row);
  skin3rd_.Assign(rows);
  LoadMenuGlyphs();
}

TSkinData::~TSkinData() {
  menuGlyphs_.reset();
  if (SkinManager) SkinManager->UnregisterSkinData(this);
}

void TSkinData::LoadMenuGlyphs() {
  menuGlyphs_ = std::make_unique<TImageList>(nullptr);
  menuGlyphs_->SetWidth(16);
  menuGlyphs_->SetHeight(16);
  const std::string file = BitmapResourceFile(GetModuleHandleW(nullptr), IDB_MENUGLYPHS);
  TBitmap glyphs;
  // White is the glyphs' paper: the list cuts the strip into four 16 x 16 images.
  if (!file.empty() && glyphs.LoadFromBytes(file)) menuGlyphs_->AddMasked(&glyphs, clWhite);
}

bool TSkinData::LoadSkin() {
  NoSkin = true;
  try {
    TSkinReader reader;
    if (!reader.LoadPacked(AsBytes(SkinStream.Bytes()))) {
      SkinMessageBox()(Utf8ToUtf16(reader.Message()));
      return false;
    }
    // The decoder reads missing bytes as zeros; a skin cut short by more than the one byte a
    // packer may leave out unpacks to garbage at its end, and is damaged.
    if (reader.BytesMissing() > kToleratedMissingBytes) {
      SkinMessageBox()(Utf8ToUtf16(kDamagedSkinMessage));
      return false;
    }
    BuildSkin(reader);
  } catch (const std::exception&) {
    // Running out of memory half way leaves a skin nobody should paint with.
    SkinMessageBox()(Utf8ToUtf16(kDamagedSkinMessage));
    return false;
  }
  faceBrush_.Reset(CreateSolidBrush(SkinColourToRgb(ButtonFaceColour, GetSysColor(COLOR_BTNFACE))));
  NoSkin = false;
  return true;
}

void TSkinData::DefineProperties(TFiler& filer) {
  TComponent::DefineProperties(filer);
  filer.DefineProperty(
      "SkinStream", [this](const DfmValue& value) { ReadSkinStream(value.bytes); },
      [this]() -> std::optional<DfmValue> { return DfmValue::Bin(WriteSkinStream()); });
}

void TSkinData::ReadSkinStream(std::string_view data) {
  if (data.size() < 4) return;
  std::int32_t count = 0;
  for (int i = 3; i >= 0; --i) count = static_cast<std::int32_t>((static_cast<std::uint32_t>(count) << 8) |
                                                                 static_cast<std::uint8_t>(data[static_cast<std::size_t>(i)]));
  if (count <= 0) return;
  // A count beyond the bytes there is a damaged skin: what is there goes to the loader, which says so.
  const std::size_t available = std::min<std::size_t>(static_cast<std::size_t>(count), data.size() - 4);
  SkinStream = TMemoryStream(std::string(data.substr(4, available)));
  LoadSkin();
}

std::string TSkinData::WriteSkinStream() const {
  std::string out;
  PutLe32(out, static_cast<std::uint32_t>(SkinStream.Size()));
  out += SkinStream.Bytes();
  return out;
}

void TSkinData::SetActive(bool value) {
  if (value == active_) return;
  active_ = value;
  if (Deferred() || !SkinManager) return;
  const bool switchOn = value && !NoSkin;
  const TSkinAction action = value ? saSkinAll : saUnskinAll;
  switch (skinFormtype_) {
    case sfMainform:
      if (value && !switchOn) return;
      SkinManager->ScheduleAction(action, kSkinActionDelay);
      SkinManager->SetPendingSkinData(this);
      break;
    case sfOnlyThisForm:
      SkinManager->SetPendingSkinData(this);
      if (value && !switchOn) return;
      SkinManager->ScheduleAction(action, kSkinActionDelay);
      break;
    case sfDialog:
      break;
  }
}

void TSkinData::Loaded() {
  TComponent::Loaded();
  if (!SkinManager) return;
  SkinManager->RegisterSkinData(this);
  if (skinFormtype_ != sfMainform) {
    SkinManager->SkinOwnFormNow(dynamic_cast<TForm*>(Owner()));
  } else if (active_) {
    if (NoSkin) {
      active_ = false;  // no skin to show: the program runs unskinned
    } else {
      SkinManager->ScheduleAction(saSkinAll, kSkinActionDelay);
    }
  }
}

void TSkinData::SetSkinFile(const std::u16string& path) {
  NoSkin = true;
  skinFile_ = path;
  std::error_code error;
  const std::filesystem::path file(path);
  if (path.empty() || !std::filesystem::is_regular_file(file, error)) return;
  std::string bytes;
  const std::uintmax_t size = std::filesystem::file_size(file, error);
  if (!error && size <= kMaxSkinFileSize) {
    std::ifstream in(file, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  SkinStream = TMemoryStream(std::move(bytes));
  // A skin that does not load has told the user so; the skin objects of the last good one stay,
  // and the windows are refreshed from them all the same.
  LoadSkin();
  if (skinFormtype_ != sfMainform || !SkinManager) return;
  SkinManager->SetPendingSkinData(this);
  SkinManager->RefreshAllForms();
  SkinManager->ScheduleAction(saRefresh, kSkinActionDelay);
}

void TSkinData::DoFormSkin(const std::u16string& name, bool& doSkin) {
  if (OnFormSkin) {
    OnFormSkin(this, name, doSkin);
    return;
  }
  if (name == u"SysMonthCal32") doSkin = false;
  else if ((skinControls_ & SkinControlBit(xcFastReport)) && name.starts_with(u"Tfr")) doSkin = false;
}

void TSkinData::DoSkinChanged() {
  if (OnSkinChanged) OnSkinChanged(this);
}

int TSkinData::DrawSkinText(HDC dc, std::u16string_view text, RECT& rect, UINT format) const {
  if (!IsUnicodePlatform()) return DrawTextAnsi(dc, text, rect, format);
  const int length = static_cast<int>(text.size());
  if ((format & DT_MODIFYSTRING) == 0) {
    return DrawTextW(dc, reinterpret_cast<const wchar_t*>(text.data()), length, &rect, format);
  }
  // DrawTextW writes the shortened text back into the string it is given: a copy of the caller's
  // text (which may live in read-only memory), with room for the ellipsis.
  std::u16string writable(text);
  writable.append(kModifiedTextRoom, u'\0');
  return DrawTextW(dc, reinterpret_cast<wchar_t*>(writable.data()), length, &rect, format);
}

}  // namespace qlt
