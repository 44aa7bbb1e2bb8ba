#include "tools/FunVolume.h"

#include <string>

namespace qlt {
namespace {

// winmm is loaded at the first mixer call, not with the program: it brings libraries of its own
// (ole32, msacm32) that a start, and every run that never mutes, can do without.
class WinmmMixer final : public Mixer {
 public:
  UINT GetNumDevs() override {
    const auto f = Function<decltype(&mixerGetNumDevs)>("mixerGetNumDevs");
    return f ? f() : 0;
  }
  MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) override {
    const auto f = Function<decltype(&mixerOpen)>("mixerOpen");
    return f ? f(mixer, device, callback, instance, flags) : MMSYSERR_NODRIVER;
  }
  MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) override {
    const auto f = Function<decltype(&mixerGetLineInfoA)>("mixerGetLineInfoA");
    return f ? f(mixer, line, flags) : MMSYSERR_NODRIVER;
  }
  MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) override {
    const auto f = Function<decltype(&mixerGetLineControlsA)>("mixerGetLineControlsA");
    return f ? f(mixer, controls, flags) : MMSYSERR_NODRIVER;
  }
  MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override {
    const auto f = Function<decltype(&mixerSetControlDetails)>("mixerSetControlDetails");
    return f ? f(mixer, details, flags) : MMSYSERR_NODRIVER;
  }
  MMRESULT Close(HMIXER mixer) override {
    const auto f = Function<decltype(&mixerClose)>("mixerClose");
    return f ? f(mixer) : MMSYSERR_NODRIVER;
  }

 private:
  template <class F>
  F Function(const char* name) {
    if (!loaded_) {
      loaded_ = true;
      // By full path: never a winmm.dll of the program's folder or the current one.
      wchar_t path[MAX_PATH] = {};
      const UINT n = GetSystemDirectoryW(path, MAX_PATH);
      if (n > 0 && n < MAX_PATH - 11) {
        std::wstring file(path, n);
        file += L"\\winmm.dll";
        library_ = LoadLibraryW(file.c_str());
      }
    }
    if (!library_) return nullptr;
    return reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
  }

  bool loaded_ = false;
  HMODULE library_ = nullptr;  // kept for the life of the program
};

constexpr DWORD kComponentTypes[] = {
    MIXERLINE_COMPONENTTYPE_DST_SPEAKERS, MIXERLINE_COMPONENTTYPE_SRC_MICROPHONE,
    MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT, MIXERLINE_COMPONENTTYPE_SRC_SYNTHESIZER};

}  // namespace

Mixer& SystemMixer() {
  static WinmmMixer mixer;
  return mixer;
}

void ShowApplicationMessage(std::wstring_view text) {
  MessageBoxW(nullptr, std::wstring(text).c_str(), L"QLTZarnit", MB_OK);
}

int SetLineMute(std::uint8_t lineKind, std::uint8_t mute, Mixer& mixer, const MessageShower& showMessage) {
  const UINT devices = mixer.GetNumDevs();
  if (devices < 1) return static_cast<int>(devices) - 1;
  HMIXER handle = nullptr;
  MMRESULT result = mixer.Open(&handle, 0, 0, 0, 0);
  if (result != MMSYSERR_NOERROR) return static_cast<int>(result);
  const auto object = reinterpret_cast<HMIXEROBJ>(handle);

  MIXERLINEA line{};
  line.cbStruct = sizeof(line);
  line.dwComponentType = kComponentTypes[lineKind < 4 ? lineKind : 0];
  result = mixer.GetLineInfo(object, &line, MIXER_GETLINEINFOF_COMPONENTTYPE);
  if (result == MMSYSERR_NOERROR) {
    MIXERCONTROLA control{};
    MIXERLINECONTROLSA controls{};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = MIXERCONTROL_CONTROLTYPE_MUTE;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    result = mixer.GetLineControls(object, &controls, MIXER_GETLINECONTROLSF_ONEBYTYPE);
    if (result != MMSYSERR_NOERROR) {
      showMessage(L"GetLineInfo Error");
    } else {
      MIXERCONTROLDETAILS_BOOLEAN value{};
      value.fValue = mute;
      MIXERCONTROLDETAILS details{};
      details.cbStruct = sizeof(details);
      details.dwControlID = control.dwControlID;
      details.cChannels = 1;
      details.cMultipleItems = 0;
      details.cbDetails = sizeof(value);
      details.paDetails = &value;
      result = mixer.SetControlDetails(object, &details, MIXER_SETCONTROLDETAILSF_VALUE);
      if (result != MMSYSERR_NOERROR) showMessage(L"SetControlDetails Error");
    }
  }
  const MMRESULT closed = mixer.Close(handle);
  return static_cast<int>(result != MMSYSERR_NOERROR ? result : closed);
}

}  // namespace qlt
