#pragma once
// The checks the fuzz targets run on any bytes, kept apart from libFuzzer so that the native tests
// replay the saved inputs (tests/corpus) through the same code. Each returns normally or aborts on a
// broken promise of the skin layer; out-of-bounds access and undefined behaviour are the
// sanitizers' to report.
#include "skin/data/Bytes.h"

namespace qlt::fuzzing {

// Aborts with a message when a promise is broken.
void Check(bool ok, const char* what);

// A packed skin file goes through the whole load: unpack, index, parse the description, decode the
// bitmaps it names. Skins claiming more than kFuzzMaxUnpacked bytes are skipped (the limit itself
// is tested natively), so that every run stays fast.
inline constexpr std::uint32_t kFuzzMaxUnpacked = 1u << 20;
void FuzzSkinPacked(ByteView data);

// An unpacked container: index, description, bitmaps.
void FuzzSkinContainer(ByteView data);

// Bytes 0-1: the unpacked size; byte 2: the input piece size; the rest: a bit stream. TLZH must
// agree with the literal reference decoder, and the kit's compressor must round-trip the stream.
void FuzzLzh(ByteView data);

// A bitmap file: decoded, or refused; a decoded image survives the writer and the transforms.
void FuzzBitmap(ByteView data);

// The engine's portable geometry. The input up to its first NUL is a skin description, read with a
// bitmap made for every image it names (of the size a name like "edge-8x20.bmp" gives, else of a
// size the knobs choose); the bytes after it are knobs: one group of kKnobSlots slots per part of
// the engine, in the order of KnobGroup, each slot kKnobSlotBytes long (a mode byte, then a value:
// zero bytes give a typical window). Every layout and painter of the frame, the controls and the
// menus runs with windows, controls, scroll ranges, tab counts and menu items of the sizes the
// knobs give, and each promise of their headers is checked: pieces inside their image and
// destination, cells within their count, the thumb inside its track, hit tests among the
// documented answers, no inverted client area, loops bounded by what shows.
enum KnobGroup { kImages, kWindow, kCaption, kTitleButtons, kSlices, kScroll, kTabs, kBars, kEdits, kControls, kMenus };
inline constexpr std::size_t kKnobSlots = 24;
inline constexpr std::size_t kKnobSlotBytes = 5;
// A slot's mode byte: its value's end, its start (anything else moves the typical value by a step).
inline constexpr std::uint8_t kKnobHighest = 0xFF;
inline constexpr std::uint8_t kKnobLowest = 0xFE;
void FuzzSkinGeometry(ByteView data);

}  // namespace qlt::fuzzing
