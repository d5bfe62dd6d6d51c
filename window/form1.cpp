#include "window/form1.hpp"

#include "engine/figure_text.hpp"

#include <array>
#include <string_view>

namespace brindle::window {

using engine::ArchiveQuality;
using platform::EventKind;

struct Form1::Binding {
    std::string_view control;
    EventKind kind;
    void (Form1::*handler)();
};

// Which handler each event runs; events not listed have none.
const Form1::Binding Form1::kBindings[] = {
    {"Form1", EventKind::Load, &Form1::Form_Load},
    {"txtCD", EventKind::Change, &Form1::txtCD_Change},
    {"txtArchive", EventKind::Change, &Form1::txtArchive_Change},
    {"opt11kmono", EventKind::Click, &Form1::opt11kmono_Click},
    {"opt11KStereo", EventKind::Click, &Form1::opt11KStereo_Click},
    {"opt22kMono", EventKind::Click, &Form1::opt22kMono_Click},
    {"opt22KStereo", EventKind::Click, &Form1::opt22KStereo_Click},
};

Form1::Form1(platform::ControlSet& controls)
    : txtCD(controls.TextBoxNamed("txtCD")), txtArchive(controls.TextBoxNamed("txtArchive")),
      opt11kmono(controls.OptionButtonNamed("opt11kmono")),
      opt11KStereo(controls.OptionButtonNamed("opt11KStereo")),
      opt22kMono(controls.OptionButtonNamed("opt22kMono")),
      opt22KStereo(controls.OptionButtonNamed("opt22KStereo")),
      lblResMB(controls.LabelNamed("lblResMB")), lblextrares(controls.LabelNamed("lblextrares")) {}

void Form1::Handle(const platform::EventSource& event) {
    for (const Binding& binding : kBindings) {
        if (binding.kind == event.kind && binding.control == event.control) {
            (this->*binding.handler)();
            return;
        }
    }
}

// The defaults: 5 days at CD quality, then 37 at the archive quality chosen in the design. Each
// write runs its box's change handler before it returns, so the first estimate is shown before
// the second write begins.
void Form1::Form_Load() {
    txtCD.SetText(engine::DayText(5));
    txtArchive.SetText(engine::DayText(37));
}

void Form1::txtCD_Change() {
    const engine::DayCount days = engine::ReadDays(txtCD.Text());
    engine::ComputeCDBytes(days).StoreInto(CDBytes);
    UpdTotal();
}

void Form1::txtArchive_Change() {
    const ArchiveQuality quality = ChosenQuality();
    const engine::DayCount days = engine::ReadDays(txtArchive.Text());
    engine::ComputeArchiveBytes(quality, days).StoreInto(ArchiveBytes);
    UpdTotal();
}

// A quality click recomputes the archive figure as a plain call; it raises no change event.
void Form1::opt11kmono_Click() {
    txtArchive_Change();
}
void Form1::opt11KStereo_Click() {
    txtArchive_Change();
}
void Form1::opt22kMono_Click() {
    txtArchive_Change();
}
void Form1::opt22KStereo_Click() {
    txtArchive_Change();
}

// The gigabyte caption is written before the megabyte figure is computed, so a failure of that
// write leaves the megabyte caption untouched.
void Form1::UpdTotal() {
    engine::ComputeTotal(CDBytes, ArchiveBytes).StoreInto(TotalBytes);
    lblResMB.SetCaption(engine::GigabyteCaption(engine::ToGigabytes(TotalBytes).Checked()));
    lblextrares.SetCaption(engine::MegabyteCaption(engine::ToMegabytes(TotalBytes).Checked()));
}

// The options are asked in this order, and the first one selected wins.
ArchiveQuality Form1::ChosenQuality() const {
    if (opt11kmono.Value()) {
        return ArchiveQuality::Mono11k;
    }
    if (opt11KStereo.Value()) {
        return ArchiveQuality::Stereo11k;
    }
    if (opt22kMono.Value()) {
        return ArchiveQuality::Mono22k;
    }
    if (opt22KStereo.Value()) {
        return ArchiveQuality::Stereo22k;
    }
    return ArchiveQuality::None;
}

} // namespace brindle::window
