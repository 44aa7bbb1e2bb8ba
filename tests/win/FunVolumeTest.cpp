// SetLineMute against a fake mixer (the call sequence, flags, records and the two messages) and
// against Wine's real one, which has no device.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/FunVolume.h"

namespace qlt {
namespace {

class FakeMixer : public Mixer {
 public:
  UINT GetNumDevs() override { return calls.push_back("GetNumDevs"), devices; }
  MMRESULT Open(HMIXER* mixer, UINT device, DWORD_PTR callback, DWORD_PTR instance, DWORD flags) override {
    calls.push_back("Open");
    EXPECT_EQ(device, 0u);
    EXPECT_EQ(callback, 0u);
    EXPECT_EQ(instance, 0u);
    EXPECT_EQ(flags, 0u);
    *mixer = kHandle;
    return openResult;
  }
  MMRESULT GetLineInfo(HMIXEROBJ mixer, MIXERLINEA* line, DWORD flags) override {
    calls.push_back("GetLineInfo");
    EXPECT_EQ(mixer, reinterpret_cast<HMIXEROBJ>(kHandle));
    EXPECT_EQ(line->cbStruct, 168u);
    EXPECT_EQ(flags, 3u);
    componentType = line->dwComponentType;
    line->dwLineID = 0x55;
    return lineResult;
  }
  MMRESULT GetLineControls(HMIXEROBJ mixer, MIXERLINECONTROLSA* controls, DWORD flags) override {
    calls.push_back("GetLineControls");
    EXPECT_EQ(controls->cbStruct, 24u);
    EXPECT_EQ(controls->dwLineID, 0x55u);
    EXPECT_EQ(controls->dwControlType, 0x20010002u);
    EXPECT_EQ(controls->cControls, 1u);
    EXPECT_EQ(controls->cbmxctrl, 148u);
    EXPECT_EQ(flags, 2u);
    controls->pamxctrl->dwControlID = 0x77;
    return controlsResult;
  }
  MMRESULT SetControlDetails(HMIXEROBJ mixer, MIXERCONTROLDETAILS* details, DWORD flags) override {
    calls.push_back("SetControlDetails");
    EXPECT_EQ(details->cbStruct, 24u);
    EXPECT_EQ(details->dwControlID, 0x77u);
    EXPECT_EQ(details->cChannels, 1u);
    EXPECT_EQ(details->cMultipleItems, 0u);
    EXPECT_EQ(details->cbDetails, 4u);
    EXPECT_EQ(flags, 0u);
    written.push_back(static_cast<MIXERCONTROLDETAILS_BOOLEAN*>(details->paDetails)->fValue);
    return setResult;
  }
  MMRESULT Close(HMIXER mixer) override {
    calls.push_back("Close");
    EXPECT_EQ(mixer, kHandle);
    return MMSYSERR_NOERROR;
  }

  inline static const HMIXER kHandle = reinterpret_cast<HMIXER>(0x1234);
  UINT devices = 1;
  MMRESULT openResult = MMSYSERR_NOERROR, lineResult = MMSYSERR_NOERROR, controlsResult = MMSYSERR_NOERROR,
           setResult = MMSYSERR_NOERROR;
  DWORD componentType = 0;
  std::vector<std::string> calls;
  std::vector<LONG> written;
};

struct Messages {
  std::vector<std::wstring> shown;
  MessageShower Shower() {
    return [this](std::wstring_view text) { shown.emplace_back(text); };
  }
};

TEST(SetLineMute, MutesAndUnmutesTheSpeakersWithTheDocumentedSequence) {
  FakeMixer mixer;
  Messages messages;
  SetLineMute(kSpeakersLine, 1, mixer, messages.Shower());
  SetLineMute(kSpeakersLine, 1, mixer, messages.Shower());  // twice: written twice, no toggling
  SetLineMute(kSpeakersLine, 0, mixer, messages.Shower());
  const std::vector<std::string> once{"GetNumDevs", "Open", "GetLineInfo", "GetLineControls", "SetControlDetails",
                                      "Close"};
  std::vector<std::string> thrice;
  for (int i = 0; i < 3; ++i) thrice.insert(thrice.end(), once.begin(), once.end());
  EXPECT_EQ(mixer.calls, thrice);
  EXPECT_EQ(mixer.written, (std::vector<LONG>{1, 1, 0}));
  EXPECT_EQ(mixer.componentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_DST_SPEAKERS));
  EXPECT_TRUE(messages.shown.empty());
  SetLineMute(2, 1, mixer, messages.Shower());
  EXPECT_EQ(mixer.componentType, static_cast<DWORD>(MIXERLINE_COMPONENTTYPE_SRC_WAVEOUT));
}

TEST(SetLineMute, FailuresAndTheirMessages) {
  Messages messages;
  FakeMixer noDevice;
  noDevice.devices = 0;
  EXPECT_EQ(SetLineMute(0, 1, noDevice, messages.Shower()), -1);
  EXPECT_EQ(noDevice.calls, std::vector<std::string>{"GetNumDevs"});

  FakeMixer cannotOpen;
  cannotOpen.openResult = MMSYSERR_ALLOCATED;
  SetLineMute(0, 1, cannotOpen, messages.Shower());
  EXPECT_EQ(cannotOpen.calls, (std::vector<std::string>{"GetNumDevs", "Open"}));

  FakeMixer noLine;
  noLine.lineResult = MIXERR_INVALLINE;
  SetLineMute(0, 1, noLine, messages.Shower());
  EXPECT_EQ(noLine.calls, (std::vector<std::string>{"GetNumDevs", "Open", "GetLineInfo", "Close"}));
  EXPECT_TRUE(messages.shown.empty());

  FakeMixer noMute;
  noMute.controlsResult = MIXERR_INVALCONTROL;
  SetLineMute(0, 1, noMute, messages.Shower());
  EXPECT_EQ(noMute.calls.back(), "Close");
  EXPECT_EQ(messages.shown, std::vector<std::wstring>{L"GetLineInfo Error"});

  FakeMixer cannotSet;
  cannotSet.setResult = MMSYSERR_ERROR;
  SetLineMute(0, 0, cannotSet, messages.Shower());
  EXPECT_EQ(cannotSet.calls.back(), "Close");
  EXPECT_EQ(messages.shown, (std::vector<std::wstring>{L"GetLineInfo Error", L"SetControlDetails Error"}));
}

TEST(SetLineMute, WineWithoutAMixerDeviceGoesOnSilently) {
  Messages messages;
  SetLineMute(kSpeakersLine, 1, SystemMixer(), messages.Shower());
  SetLineMute(kSpeakersLine, 0, SystemMixer(), messages.Shower());
  EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace qlt
