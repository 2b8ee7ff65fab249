#include "tools/render/EditorReport.h"

#include "controls/MeterBallistics.h"
#include "controls/PopupControl.h"
#include "controls/SignalMeter.h"
#include "editor/TrazelleEditor.h"
#include "graphics/GraphicsContext.h"
#include "plugin/Trazelle.h"
#include "tools/render/EditorHarness.h"

#include <array>
#include <cstdio>

namespace qm::render
{

using Tag = Trazelle::TrazelleEditor::ControlTag;

namespace
{

std::string ValueText(EditorHarness& h, int tag)
{
  auto* c = h.ControlAs<control::ControlBase>(tag);
  return c ? c->GetValueText() : std::string();
}

std::string MeterText(control::SignalMeter<2>* meter, int channel)
{
  if (!meter) return {};
  std::array<char, 16> text{};
  control::MeterBallistics::FormatPeak(meter->GetReadout(channel), text.data(), int(text.size()));
  return text.data();
}

} // namespace

EditorReport ReadEditorReport(EditorHarness& h)
{
  EditorReport r;
  if (!h.UI()) return r;
  r.mode = ValueText(h, Tag::kTagMode);
  r.duration = ValueText(h, Tag::kTagDuration);
  r.zoom = ValueText(h, Tag::kTagZoom);
  r.channel = ValueText(h, Tag::kTagChannel);
  h.UI()->ForControlInGroup(Trazelle::TrazelleEditor::kThemeGroup,
                            [&r](auto* c)
                            {
                              if (auto* popup = dynamic_cast<control::PopupControl*>(c))
                                (popup->GetLabel() == "theme" ? r.theme : r.scale) =
                                    popup->GetValueText();
                            });
  auto* meter = h.ControlAs<control::SignalMeter<2>>(Tag::kTagMeter);
  r.meterLeft = MeterText(meter, 0);
  r.meterRight = MeterText(meter, 1);
  r.frozen = h.Plugin().GetFreeze();
  r.position = h.Plugin().Editor().GetPosition();
  r.width = h.UI()->WindowWidth();
  r.height = h.UI()->WindowHeight();
  return r;
}

std::string FormatEditorReport(const EditorReport& r)
{
  char buffer[512];
  std::snprintf(buffer, sizeof(buffer),
                "mode:      %s\n"
                "duration:  %s\n"
                "v. zoom:   %s\n"
                "channel:   %s\n"
                "theme:     %s\n"
                "scale:     %s (%d x %d)\n"
                "freeze:    %s (position %.3f)\n"
                "meter:     L %s dB, R %s dB (peak hold)\n",
                r.mode.c_str(), r.duration.c_str(), r.zoom.c_str(), r.channel.c_str(),
                r.theme.c_str(), r.scale.c_str(), r.width, r.height, r.frozen ? "on" : "off",
                r.position, r.meterLeft.c_str(), r.meterRight.c_str());
  return buffer;
}

} // namespace qm::render
