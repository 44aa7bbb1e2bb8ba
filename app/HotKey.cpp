#include "app/HotKey.h"

#include "ui/SysUtils.h"

namespace qlt {

std::u16string HotKeyProblemMessage(HotKeyState state, std::u16string_view text, std::u16string_view detail,
                                    std::u16string_view stillActive) {
  const std::u16string quoted = u"“" + std::u16string(text) + u"”";
  const std::u16string fallback =
      stillActive.empty()
          ? std::u16string(u"现在可以用鼠标右键单击托盘图标来隐藏和显示程序。")
          : u"现在仍然使用热键“" + std::u16string(stillActive) + u"”；新选的热键已保存，下次启动时再注册。";
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

std::u16string HotKeyLabel(std::u16string_view stored, std::u16string_view active) {
  std::u16string label(stored);
  if (!active.empty() && active != stored) label += u"（当前有效：" + std::u16string(active) + u"）";
  return label;
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

HotKeyOutcome GlobalHotKey::TryRegister(std::u16string_view text, std::u16string& detail) {
  HotKeyOutcome outcome;
  const std::u16string trimmed = Trim(text);
  const HotKeyParse parsed = ParseHotKey(trimmed);
  if (!parsed.ok()) {
    outcome.state = HotKeyState::NotUnderstood;
    detail = parsed.error;
  } else if (parsed.hotKey.key == 0) {
    outcome.state = HotKeyState::NoKey;
  } else if (!id_ || !RegisterHotKey(window_, id_, parsed.hotKey.modifiers, parsed.hotKey.key)) {
    outcome.state = HotKeyState::Taken;
  } else {
    registered_ = true;
    activeText_ = trimmed;
    outcome.state = HotKeyState::Registered;
  }
  outcome.activeText = activeText_;
  return outcome;
}

HotKeyOutcome GlobalHotKey::Register(std::u16string_view text) {
  Release();
  std::u16string detail;
  HotKeyOutcome outcome = TryRegister(text, detail);
  outcome.message = HotKeyProblemMessage(outcome.state, Trim(text), detail);
  return outcome;
}

HotKeyOutcome GlobalHotKey::Change(std::u16string_view text) {
  const std::u16string previous = activeText_;
  Release();
  std::u16string detail;
  HotKeyOutcome outcome = TryRegister(text, detail);
  if ((outcome.state == HotKeyState::Taken || outcome.state == HotKeyState::NotUnderstood) && !previous.empty()) {
    std::u16string ignored;
    outcome.activeText = TryRegister(previous, ignored).activeText;
  }
  outcome.message = HotKeyProblemMessage(outcome.state, Trim(text), detail, outcome.activeText);
  return outcome;
}

}  // namespace qlt
