#pragma once
// The LZHUF decoder written the plain way, step by step as the scheme describes it: a 16-bit bit
// buffer refilled one byte per call of the read procedure, one call of the write procedure per
// decoded byte, and a 4096-byte ring. It shares no code with TLZH on purpose: the benchmarks
// measure TLZH against it, and the tests and fuzz targets use it as the reference TLZH must agree
// with on any input.
#include <cstdint>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <vector>

namespace qlt::reference {

class LiteralLzh {
 public:
  // (buffer, requested count, actual count out), as the procedures of a memory stream.
  using ReadProc = std::function<void(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual)>;
  using WriteProc = std::function<void(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual)>;

  void Unpack(std::uint32_t unpackedSize, const WriteProc& write, const ReadProc& read) {
    read_ = &read;
    AllocTables();
    try {
      ResetModel();
      std::memset(ring_, ' ', N - F);
      std::memset(ring_ + (N - F), ' ', F - 1 + F);  // left open by the scheme; blank, as in TLZH
      unsigned r = N - F;
      std::uint32_t produced = 0;
      std::uint16_t done = 0;
      while (produced < unpackedSize) {
        int c = DecodeSymbol();
        if (c < 256) {
          std::uint8_t b = static_cast<std::uint8_t>(c);
          write(&b, 1, done);
          ring_[r] = b;
          r = (r + 1) & (N - 1);
          ++produced;
        } else {
          const unsigned start = (r - DecodeDistance() - 1) & (N - 1);
          const int length = c - 255 + THRESHOLD;
          for (int k = 0; k < length; ++k) {
            std::uint8_t b = ring_[(start + k) & (N - 1)];
            write(&b, 1, done);
            ring_[r] = b;
            r = (r + 1) & (N - 1);
            ++produced;
          }
        }
      }
    } catch (...) {
      FreeTables();
      throw;
    }
    FreeTables();
  }

 private:
  static constexpr unsigned N = 4096;
  static constexpr unsigned F = 60;
  static constexpr unsigned THRESHOLD = 2;
  static constexpr unsigned N_CHAR = 256 - THRESHOLD + F;
  static constexpr unsigned T = N_CHAR * 2 - 1;
  static constexpr unsigned R = T - 1;
  static constexpr unsigned MAX_FREQ = 0x8000;

  void AllocTables() {
    ring_ = new std::uint8_t[N + F - 1];
    freq_ = new std::uint16_t[T + 1];
    prnt_ = new std::uint16_t[T + N_CHAR];
    son_ = new std::uint16_t[T];
    getbuf_ = 0;
    getlen_ = 0;
  }

  void FreeTables() {
    delete[] ring_;
    delete[] freq_;
    delete[] prnt_;
    delete[] son_;
    ring_ = nullptr;
    freq_ = prnt_ = son_ = nullptr;
  }

  void Refill() {
    while (getlen_ < 9) {
      std::uint8_t b = 0;
      std::uint16_t got = 0;
      (*read_)(&b, 1, got);
      if (got != 1) b = 0;
      getbuf_ = static_cast<std::uint16_t>(getbuf_ | (b << (8 - getlen_)));
      getlen_ = static_cast<std::uint8_t>(getlen_ + 8);
    }
  }

  int ReadBit() {
    Refill();
    const int bit = getbuf_ >> 15;
    getbuf_ = static_cast<std::uint16_t>(getbuf_ << 1);
    --getlen_;
    return bit;
  }

  int ReadByte() {
    Refill();
    const int byte = getbuf_ >> 8;
    getbuf_ = static_cast<std::uint16_t>(getbuf_ << 8);
    getlen_ = static_cast<std::uint8_t>(getlen_ - 8);
    return byte;
  }

  void ResetModel() {
    for (unsigned s = 0; s < N_CHAR; ++s) {
      freq_[s] = 1;
      son_[s] = static_cast<std::uint16_t>(s + T);
      prnt_[s + T] = static_cast<std::uint16_t>(s);
    }
    unsigned i = 0;
    for (unsigned j = N_CHAR; j <= R; ++j, i += 2) {
      freq_[j] = static_cast<std::uint16_t>(freq_[i] + freq_[i + 1]);
      son_[j] = static_cast<std::uint16_t>(i);
      prnt_[i] = prnt_[i + 1] = static_cast<std::uint16_t>(j);
    }
    freq_[T] = 0xFFFF;
    prnt_[R] = 0;
  }

  void RebuildTree() {
    unsigned j = 0;
    for (unsigned i = 0; i < T; ++i) {
      if (son_[i] >= T) {
        freq_[j] = static_cast<std::uint16_t>((freq_[i] + 1) / 2);
        son_[j] = son_[i];
        ++j;
      }
    }
    unsigned i = 0;
    for (j = N_CHAR; j < T; i += 2, ++j) {
      const unsigned f = freq_[i] + freq_[i + 1];
      unsigned k = j - 1;
      while (f < freq_[k]) --k;
      ++k;
      for (unsigned m = j; m > k; --m) {
        freq_[m] = freq_[m - 1];
        son_[m] = son_[m - 1];
      }
      freq_[k] = static_cast<std::uint16_t>(f);
      son_[k] = static_cast<std::uint16_t>(i);
    }
    for (i = 0; i < T; ++i) {
      const unsigned k = son_[i];
      if (k >= T) {
        prnt_[k] = static_cast<std::uint16_t>(i);
      } else {
        prnt_[k] = prnt_[k + 1] = static_cast<std::uint16_t>(i);
      }
    }
  }

  void UpdateModel(int c) {
    if (freq_[R] == MAX_FREQ) RebuildTree();
    unsigned n = prnt_[c + T];
    do {
      const unsigned k = ++freq_[n];
      if (k > freq_[n + 1]) {
        unsigned l = n + 1;
        while (freq_[l + 1] < k) ++l;
        freq_[n] = freq_[l];
        freq_[l] = static_cast<std::uint16_t>(k);
        const unsigned a = son_[n];
        prnt_[a] = static_cast<std::uint16_t>(l);
        if (a < T) prnt_[a + 1] = static_cast<std::uint16_t>(l);
        const unsigned b = son_[l];
        son_[l] = static_cast<std::uint16_t>(a);
        prnt_[b] = static_cast<std::uint16_t>(n);
        if (b < T) prnt_[b + 1] = static_cast<std::uint16_t>(n);
        son_[n] = static_cast<std::uint16_t>(b);
        n = l;
      }
      n = prnt_[n];
    } while (n != 0);
  }

  int DecodeSymbol() {
    unsigned n = son_[R];
    while (n < T) n = son_[n + ReadBit()];
    const int c = static_cast<int>(n - T);
    UpdateModel(c);
    return c;
  }

  // The upper six bits and the code length of a distance, by the first byte read.
  static void DistancePrefix(unsigned i, unsigned& upper, unsigned& length) {
    if (i <= 0x1F) {
      length = 3, upper = 0;
    } else if (i <= 0x2F) {
      length = 4, upper = 1;
    } else if (i <= 0x3F) {
      length = 4, upper = 2;
    } else if (i <= 0x4F) {
      length = 4, upper = 3;
    } else if (i <= 0x8F) {
      length = 5, upper = 4 + (i - 0x50) / 8;
    } else if (i <= 0xBF) {
      length = 6, upper = 12 + (i - 0x90) / 4;
    } else if (i <= 0xEF) {
      length = 7, upper = 24 + (i - 0xC0) / 2;
    } else {
      length = 8, upper = 48 + (i - 0xF0);
    }
  }

  unsigned DecodeDistance() {
    unsigned i = static_cast<unsigned>(ReadByte());
    unsigned upper = 0;
    unsigned length = 0;
    DistancePrefix(i, upper, length);
    for (unsigned k = 0; k + 2 < length; ++k) i = i * 2 + static_cast<unsigned>(ReadBit());
    return upper * 64 + (i & 63);
  }

  const ReadProc* read_ = nullptr;
  std::uint8_t* ring_ = nullptr;
  std::uint16_t* freq_ = nullptr;
  std::uint16_t* prnt_ = nullptr;
  std::uint16_t* son_ = nullptr;
  std::uint16_t getbuf_ = 0;
  std::uint8_t getlen_ = 0;
};

// A memory stream and the two procedures the skin reader installs on it.
class MemoryStream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::vector<std::uint8_t> data) : data_(std::move(data)) {}

  void Read(std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
    const std::size_t remain = data_.size() - position_;
    actual = static_cast<std::uint16_t>(count < remain ? count : remain);
    if (actual) std::memcpy(buffer, data_.data() + position_, actual);
    position_ += actual;
  }

  void Write(const std::uint8_t* buffer, std::uint16_t count, std::uint16_t& actual) {
    if (position_ + count > data_.size()) data_.resize(position_ + count);
    std::memcpy(data_.data() + position_, buffer, count);
    position_ += count;
    actual = count;
  }

  void Seek(std::size_t position) { position_ = position; }
  const std::vector<std::uint8_t>& Data() const { return data_; }

 private:
  std::vector<std::uint8_t> data_;
  std::size_t position_ = 0;
};

// Unpacks a bit stream through a memory stream, the way the skin reader drives the decoder.
inline std::vector<std::uint8_t> LiteralUnpack(const std::vector<std::uint8_t>& bitStream, std::uint32_t size) {
  MemoryStream in(bitStream);
  MemoryStream out;
  LiteralLzh lzh;
  lzh.Unpack(
      size, [&out](const std::uint8_t* b, std::uint16_t n, std::uint16_t& a) { out.Write(b, n, a); },
      [&in](std::uint8_t* b, std::uint16_t n, std::uint16_t& a) { in.Read(b, n, a); });
  return out.Data();
}

}  // namespace qlt::reference
