#pragma once
// Switches the mute control of one line of the first mixer device (SetLineMute). The mixer calls
// go through a thin seam so tests can check the sequence against a fake mixer.
#include <windows.h>
#include <mmsystem.h>

#include <cstdint>
#include <functional>
#include <string_view>

namespace qlt {

class Mixer {
 public:
  virtual ~Mixer() = default;
  virtual UINT GetNumDevs() = 0;
  virtual MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) = 0;
  virtual MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) = 0;
  virtual MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) = 0;
  virtual MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) = 0;
  virtual MMRESULT Close(HMIXER mixer) = 0;
};

Mixer& SystemMixer();  // winmm

using MessageShower = std::function<void(std::wstring_view text)>;
// A simple message box with the application title.
void ShowApplicationMessage(std::wstring_view text);

// Line kinds: 0 speakers (the master output), 1 microphone, 2 wave output, 3 synthesizer.
inline constexpr std::uint8_t kSpeakersLine = 0;

// mute 1 mutes, 0 unmutes. Without a mixer device, or when it cannot be opened, nothing happens
// and nothing is shown; a line without a mute control shows "GetLineInfo Error", a failed write
// "SetControlDetails Error". Returns the last mixer result (the device count less one when there
// is no device); callers need not read it.
int SetLineMute(std::uint8_t lineKind, std::uint8_t mute, Mixer& mixer = SystemMixer(),
                const MessageShower& showMessage = ShowApplicationMessage);

}  // namespace qlt
