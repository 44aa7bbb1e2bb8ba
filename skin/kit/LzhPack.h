#pragma once
// The compressing half of the LZHUF scheme, for the skin kit: TLZH unpacks what this packs back to
// exactly the same bytes.
#include <cstdint>

#include "skin/data/Bytes.h"
#include "skin/data/LzhModel.h"

namespace qlt {

// Writes the symbols of a stream (literal bytes and matches) with the adaptive model kept in step
// with the decoder's, most significant bit first; the last byte is padded with zero bits.
class LzhSymbolWriter {
 public:
  LzhSymbolWriter();
  void Literal(std::uint8_t byte);
  // `length` (3 to 60) bytes copied from `distance` + 1 bytes back (distance 0 to 4095). Before the
  // first 4036 bytes of output the window holds blanks, which a match may copy.
  void Match(unsigned length, unsigned distance);
  // The bit stream so far, flushed to whole bytes; the writer is spent afterwards.
  Bytes Finish();

 private:
  void PutBits(std::uint32_t bits, int count);
  void PutSymbol(unsigned symbol);

  lzh::Model model_;
  Bytes out_;
  std::uint64_t pending_ = 0;  // bits not yet written, at the low end
  int pendingCount_ = 0;
};

// An LZHUF bit stream of `data` (without the 4-byte size a skin file puts in front).
Bytes LzhCompress(ByteView data);

}  // namespace qlt
