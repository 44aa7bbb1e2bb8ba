#include "tools/FunVolume.h"

#include <string>

namespace qlt {
namespace {

class WinmmMixer final : public Mixer {
 public:
  UINT GetNumDevs() override { return mixerGetNumDevs(); }
  MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) override {
    return mixerOpen(mixer, device, callback, instance, flags);
  }
  MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) override {
    return mixerGetLineInfoA(mixer, line, flags);
  }
  MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) override {
    return mixerGetLineControlsA(mixer, controls, flags);
  }
  MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override {
    return mixerSetControlDetails(mixer, details, flags);
  }
  MMRESULT Close(HMIXER mixer) override { return mixerClose(mixer); }
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
