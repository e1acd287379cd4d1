#pragma once
// The cross-fade of a skinned button between two of its faces: every 10 ms a frame blends the
// face shown before the change (the start image, copied at the start) with the button's new
// face, starting from the old one and reaching the new one after Steps frames.
//
// The frame of step s weighs the start image by alpha = 255 − s × 256 ÷ Steps (limited to
// 0 … 255). A fade never frees itself: when its last frame has been shown it stops its timer and
// reports Finished(), and the owning button drops it at its next paint or change. Steps below 1
// count as 1. A fade that starts while another runs begins where the old one would have left
// off (Steps − step of the old one), so reversing a transition does not jump.
//
// Runs on toolkit timers on the interface thread; a tick that arrives while one is in progress
// is ignored.

#include <cstdint>
#include <functional>
#include <memory>

#include "skinned/sButtonFace.h"
#include "toolkit/TTimer.h"

namespace skin {
class TsCommonData;
class TsSkinManager;
} // namespace skin

namespace toolkit {
class TBitmap;
}

namespace skinned {

// Whether the transition animates with these events and the manager's button effects.
bool AnimatesOn(TacAnimatEvent event, const TacAnimatEvents& events,
                const skin::TsSkinManager* manager);

// The transition from one state index (0 normal, 1 hot, 2 pressed) to another.
TacAnimatEvent TransitionEvent(std::int32_t from, std::int32_t to);

class TsButtonFade {
public:
    static constexpr unsigned kInterval = 10;

    // face: the button's face, read at each tick (it must outlive the fade); redraw: asks the
    // button to show Frame() again.
    TsButtonFade(const toolkit::TBitmap& start, const toolkit::TBitmap& face, std::int32_t steps,
                 std::int32_t firstStep, std::function<void()> redraw);
    ~TsButtonFade();
    TsButtonFade(const TsButtonFade&) = delete;
    TsButtonFade& operator=(const TsButtonFade&) = delete;

    std::int32_t Steps() const { return m_steps; }
    std::int32_t Step() const { return m_step; }
    bool Finished() const { return m_finished; }
    // The last frame made; the start image until the first tick.
    toolkit::TBitmap& Frame() { return *m_frame; }
    void Tick();

private:
    std::unique_ptr<toolkit::TBitmap> m_start;
    std::unique_ptr<toolkit::TBitmap> m_frame;
    const toolkit::TBitmap& m_face;
    std::int32_t m_steps;
    std::int32_t m_step;
    std::function<void()> m_redraw;
    toolkit::TTimer m_timer;
    bool m_ticking = false;
    bool m_finished = false;
};

// The fade for a change of a button's face from `was` to `now` (the cache still holding the old
// face), or none when it does not animate: only a change of the state index alone animates, when
// the skin is active, the section has FADINGENABLED and the transition is among events (a
// gained focus marks the face changed, yet its hot face still fades in; a refreshed skin leaves
// the button without a built face, so nothing fades then). Steps: the section's FADINGITERATIONS,
// halved for press and release. running: the fade still on, if any.
std::unique_ptr<TsButtonFade> StartFade(skin::TsCommonData& data, const TButtonFaceKey& was,
                                        const TButtonFaceKey& now, const TacAnimatEvents& events,
                                        const TsButtonFade* running, std::function<void()> redraw);

} // namespace skinned
