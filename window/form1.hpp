#pragma once

#include "engine/estimate.hpp"
#include "platform/controls.hpp"
#include "platform/events.hpp"

namespace brindle::window {

using engine::ByteFigure;

// The calculator window's logic: keeps the three byte figures and keeps the result captions
// current. It reaches its controls only through the platform's control interfaces, so the same
// code drives simulated controls in tests and real ones on screen.
//
// No handler catches an error: a fault ends the running handler and the handlers that called it,
// and the event delivery reports it where the event began.
class Form1 final : public platform::EventTarget {
public:
    // `controls` must outlive the window logic.
    explicit Form1(platform::ControlSet& controls);

    void Handle(const platform::EventSource& event) override;

    struct Figures {
        ByteFigure CDBytes;
        ByteFigure ArchiveBytes;
        ByteFigure TotalBytes;
    };
    [[nodiscard]] Figures State() const noexcept { return {CDBytes, ArchiveBytes, TotalBytes}; }

private:
    void Form_Load();
    void txtCD_Change();
    void txtArchive_Change();
    void opt11kmono_Click();
    void opt11KStereo_Click();
    void opt22kMono_Click();
    void opt22KStereo_Click();
    void UpdTotal();

    [[nodiscard]] engine::ArchiveQuality ChosenQuality() const;

    struct Binding;
    static const Binding kBindings[];

    platform::TextBox& txtCD;
    platform::TextBox& txtArchive;
    platform::OptionButton& opt11kmono;
    platform::OptionButton& opt11KStereo;
    platform::OptionButton& opt22kMono;
    platform::OptionButton& opt22KStereo;
    platform::Label& lblResMB;
    platform::Label& lblextrares;

    ByteFigure CDBytes = 0.0F;
    ByteFigure ArchiveBytes = 0.0F;
    ByteFigure TotalBytes = 0.0F;
};

} // namespace brindle::window
