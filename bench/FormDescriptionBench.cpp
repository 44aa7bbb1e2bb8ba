// Reading a form description: the main window's carries about 40 objects and a skin of 24,576
// bytes as binary data, parsed every time the program starts.
#include <benchmark/benchmark.h>

#include <string>

#include "ui/FormText.h"

namespace {

std::string MainWindowLikeDescription() {
  std::string text = "object Frm_Main: TFrm_Main\n  Caption = 'QLTZarnit2.32－QLT科技'\n  ClientWidth = 371\n"
                     "  Font.Name = '宋体'\n  Font.Style = []\n";
  for (int i = 0; i < 40; ++i) {
    const std::string n = std::to_string(i);
    text += "  object Control" + n + ": TButton\n    Left = " + n + "\n    Top = 9\n    Width = 75\n"
            "    Caption = '控制隐藏的进程'\n    Hint = '双击选择的名称可以增加'\n    OnClick = Handler" + n + "\n  end\n";
  }
  qlt::DfmObject skin;
  skin.name = "SkinData1";
  skin.className = "TSkinData";
  std::string bytes;
  for (int i = 0; i < 24576; ++i) bytes += static_cast<char>(i * 31 + 7);
  skin.props.push_back({"SkinStream", qlt::DfmValue::Bin(bytes), 0});
  std::string written = qlt::WriteFormText(skin);
  // Indent the written object into the form.
  std::string indented;
  for (size_t start = 0; start < written.size();) {
    const size_t end = written.find('\n', start);
    indented += "  " + written.substr(start, end - start + 1);
    start = end + 1;
  }
  return text + indented + "end\n";
}

void BM_ParseMainWindowDescription(benchmark::State& state) {
  const std::string text = MainWindowLikeDescription();
  for (auto _ : state) benchmark::DoNotOptimize(qlt::ParseFormText(text));
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(text.size()));
}
BENCHMARK(BM_ParseMainWindowDescription);

void BM_WriteMainWindowDescription(benchmark::State& state) {
  const qlt::DfmObject form = qlt::ParseFormText(MainWindowLikeDescription());
  for (auto _ : state) benchmark::DoNotOptimize(qlt::WriteFormText(form));
}
BENCHMARK(BM_WriteMainWindowDescription);

}  // namespace
