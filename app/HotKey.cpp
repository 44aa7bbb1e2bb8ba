#include "app/HotKey.h"

#include "ui/SysUtils.h"

namespace qlt {

std::u16string HotKeyProblemMessage(HotKeyState state, std::u16string_view text, std::u16string_view detail) {
  const std::u16string quoted = u"“" + std::u16string(text) + u"”";
  const std::u16string fallback = u"现在可以用鼠标右键单击托盘图标来隐藏和显示程序。";
  switch (state) {
    case HotKeyState::Registered: return u"";
    case HotKeyState::NoKey:
      return (Trim(text).empty() ? u"没有设置热键。" : u"热键" + quoted + u"没有按键。") +
             u"请单击主窗口上的热键设置来选择热键；" + fallback;
    case HotKeyState::Taken:
      return u"热键" + quoted + u"已被其他程序占用，无法注册。请换一个热键；" + fallback;
    case HotKeyState::NotUnderstood: break;
  }
  return u"热键" + quoted + u"无法识别：" + std::u16string(detail) + u"。" + fallback;
}

GlobalHotKey::GlobalHotKey(HWND window, const wchar_t* atomName) : window_(window) {
  atom_ = GlobalAddAtomW(atomName);
  id_ = atom_;
}

GlobalHotKey::~GlobalHotKey() {
  Release();
  if (atom_) GlobalDeleteAtom(atom_);
}

void GlobalHotKey::Release() {
  if (registered_) UnregisterHotKey(window_, id_);
  registered_ = false;
  activeText_.clear();
}

HotKeyOutcome GlobalHotKey::TryRegister(std::u16string_view text) {
  HotKeyOutcome outcome;
  const std::u16string trimmed = Trim(text);
  const HotKeyParse parsed = ParseHotKey(trimmed);
  if (!parsed.ok()) {
    outcome.state = HotKeyState::NotUnderstood;
    outcome.message = HotKeyProblemMessage(outcome.state, trimmed, parsed.error);
    return outcome;
  }
  if (parsed.hotKey.key == 0) {
    outcome.state = HotKeyState::NoKey;
    outcome.message = HotKeyProblemMessage(outcome.state, trimmed);
    return outcome;
  }
  if (!id_ || !RegisterHotKey(window_, id_, parsed.hotKey.modifiers, parsed.hotKey.key)) {
    outcome.state = HotKeyState::Taken;
    outcome.message = HotKeyProblemMessage(outcome.state, trimmed);
    return outcome;
  }
  registered_ = true;
  activeText_ = trimmed;
  outcome.state = HotKeyState::Registered;
  outcome.activeText = trimmed;
  return outcome;
}

HotKeyOutcome GlobalHotKey::Register(std::u16string_view text) {
  Release();
  return TryRegister(text);
}

HotKeyOutcome GlobalHotKey::Change(std::u16string_view text) {
  const std::u16string previous = activeText_;
  Release();
  HotKeyOutcome outcome = TryRegister(text);
  if (outcome.state == HotKeyState::Taken || outcome.state == HotKeyState::NotUnderstood) {
    if (!previous.empty()) TryRegister(previous);
    outcome.activeText = activeText_;
  }
  return outcome;
}

}  // namespace qlt
