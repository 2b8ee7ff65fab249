#pragma once

// What the open editor shows, in words: the texts of its controls and the
// meter's read-outs. Printed by trazelle-render.

#include <string>

namespace qm::render
{

class EditorHarness;

struct EditorReport
{
  std::string mode, duration, zoom, channel, theme, scale;
  std::string meterLeft, meterRight; // peak read-outs as the meter draws them
  bool frozen = false;
  double position = 1.0;
  int width = 0, height = 0; // window size in device pixels
};

EditorReport ReadEditorReport(EditorHarness& harness);
std::string FormatEditorReport(const EditorReport& report);

} // namespace qm::render
