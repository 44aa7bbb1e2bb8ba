#pragma once
// TLZH unpacks an LZHUF stream: an LZSS sliding-window coder (4096-byte window, matches of 3 to 60
// bytes) whose literals and match lengths are coded with an adaptive Huffman tree and whose match
// distances carry a fixed prefix code for their upper six bits.
//
// Input is taken and output handed over in blocks; the decoder's hot state lives in locals of one
// loop. The decoded bytes are exactly those of the scheme: the window starts blank (0x20), input
// missing at the end reads as zero bits, and the last match is always copied whole, so up to 59
// bytes beyond the requested size can be handed over.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>

#include "skin/data/Bytes.h"

namespace qlt {

class ElzhException : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kLzhNoMemoryMessage = "LZH : Cannot get memory for dictionary tables";

class TLZH {
 public:
  // Fills `buffer` with up to `capacity` bytes and returns how many it delivered; 0 means the input
  // has ended (every later bit reads as 0).
  using ReadProc = std::function<std::size_t(std::uint8_t* buffer, std::size_t capacity)>;
  // Takes `count` decoded bytes. An exception it throws ends the unpack and propagates.
  using WriteProc = std::function<void(const std::uint8_t* data, std::size_t count)>;

  TLZH();
  ~TLZH();
  TLZH(const TLZH&) = delete;
  TLZH& operator=(const TLZH&) = delete;

  // Decodes until at least `unpackedSize` bytes have been produced. Throws ElzhException when the
  // working tables cannot be allocated.
  void Unpack(std::uint32_t unpackedSize, const WriteProc& write, const ReadProc& read);

  // How many bytes past the end of the input the decoder wanted (read as zeros). A stream made by an
  // encoder needs at most two; a cut-off stream needs more.
  std::uint64_t BytesMissing() const { return missing_; }

  // Unpacks a whole bit stream in memory (all produced bytes, the final match included).
  static Bytes UnpackBytes(ByteView bitStream, std::uint32_t unpackedSize);

 private:
  struct Tables;
  struct BitState;

  void AllocTables();
  void FreeTables();
  void Decode(std::uint64_t unpackedSize);
  BitState RefillFromBlocks(BitState s);
  std::size_t Flush(std::size_t end);

  std::unique_ptr<Tables> tables_;
  const ReadProc* read_ = nullptr;
  const WriteProc* write_ = nullptr;
  bool inputEnded_ = false;
  std::uint64_t fakeBits_ = 0;  // zero bits put into the buffer after the input ended
  std::uint64_t missing_ = 0;
};

}  // namespace qlt
