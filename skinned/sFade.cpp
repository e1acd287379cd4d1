#include "skinned/sFade.h"

#include <algorithm>

#include "skin/SkinModel.h"
#include "skin/acFast24.h"
#include "skin/sCommonData.h"
#include "skin/sGraphUtils.h"
#include "skin/sSkinManager.h"
#include "toolkit/TBitmap.h"

namespace skinned {

namespace {

std::unique_ptr<toolkit::TBitmap> CopyOf(const toolkit::TBitmap& source) {
    auto copy = skin::NewBitmap24(source.Width(), source.Height());
    auto& from = const_cast<toolkit::TBitmap&>(source);
    skin::CopyBlock24(skin::TacRows24(*copy), 0, 0, skin::TacRows24(from),
                      {0, 0, source.Width(), source.Height()});
    return copy;
}

skin::TacBtnEvent ManagerEvent(TacAnimatEvent event) {
    switch (event) {
    case TacAnimatEvent::aeMouseEnter:
        return skin::TacBtnEvent::beMouseEnter;
    case TacAnimatEvent::aeMouseLeave:
        return skin::TacBtnEvent::beMouseLeave;
    case TacAnimatEvent::aeMouseDown:
        return skin::TacBtnEvent::beMouseDown;
    default:
        return skin::TacBtnEvent::beMouseUp;
    }
}

} // namespace

bool AnimatesOn(TacAnimatEvent event, const TacAnimatEvents& events,
                const skin::TsSkinManager* manager) {
    if (events.contains(event))
        return true;
    if (!events.contains(TacAnimatEvent::aeGlobalDef) || !manager)
        return false;
    auto& effects = const_cast<skin::TsSkinManager*>(manager)->AnimEffects().Buttons.Events;
    return effects.contains(ManagerEvent(event));
}

TacAnimatEvent TransitionEvent(std::int32_t from, std::int32_t to) {
    if (to == 2)
        return TacAnimatEvent::aeMouseDown;
    if (from == 2)
        return TacAnimatEvent::aeMouseUp;
    return to > from ? TacAnimatEvent::aeMouseEnter : TacAnimatEvent::aeMouseLeave;
}

TsButtonFade::TsButtonFade(const toolkit::TBitmap& start, const toolkit::TBitmap& face,
                           std::int32_t steps, std::int32_t firstStep, std::function<void()> redraw)
    : m_start(CopyOf(start)), m_frame(CopyOf(start)), m_face(face), m_steps(std::max(1, steps)),
      m_step(std::clamp(firstStep, 0, std::max(1, steps))), m_redraw(std::move(redraw)),
      m_timer(nullptr) {
    m_timer.SetInterval(kInterval);
    m_timer.SetOnTimer([this](toolkit::TObject*) { Tick(); });
    m_timer.SetEnabled(true);
}

TsButtonFade::~TsButtonFade() {
    m_timer.SetEnabled(false);
}

void TsButtonFade::Tick() {
    if (m_ticking || m_finished)
        return;
    m_ticking = true;
    if (m_step > m_steps || m_face.Width() != m_start->Width() ||
        m_face.Height() != m_start->Height()) {
        // Past the last frame, or the button changed size under the fade: show the face itself.
        m_finished = true;
        m_timer.SetEnabled(false);
    } else {
        const std::int32_t alpha = std::clamp(255 - m_step * 256 / m_steps, 0, 255);
        skin::CopyBlock24(skin::TacRows24(*m_frame), 0, 0, skin::TacRows24(*m_start),
                          {0, 0, m_start->Width(), m_start->Height()});
        skin::BlendWholeBitmaps(skin::TacRows24(*m_frame),
                                skin::TacRows24(const_cast<toolkit::TBitmap&>(m_face)), alpha);
        ++m_step;
    }
    m_ticking = false;
    if (m_redraw)
        m_redraw();
}

std::unique_ptr<TsButtonFade> StartFade(skin::TsCommonData& data, const TButtonFaceKey& was,
                                        const TButtonFaceKey& now, const TacAnimatEvents& events,
                                        const TsButtonFade* running, std::function<void()> redraw) {
    TButtonFaceKey sameState = now;
    sameState.state = was.state;
    sameState.dropDownState = was.dropDownState;
    sameState.focused = was.focused;
    sameState.down = was.down;
    if (was.state == now.state || !(sameState == was))
        return nullptr;
    const skin::TsGeneralData* section = data.Section();
    skin::TsSkinManager* manager = data.Manager();
    toolkit::TBitmap* cache = data.CacheBmp();
    if (!section || !section->FadingEnabled || !manager || !manager->Active() ||
        !data.Skinned(true) || !cache || cache->Empty())
        return nullptr;
    const TacAnimatEvent event = TransitionEvent(was.state, now.state);
    if (!AnimatesOn(event, events, manager))
        return nullptr;
    // A skin may ask for any number of steps: a fade longer than ten seconds is no fade.
    std::int32_t steps = std::clamp(section->FadingIterations, 0, 1000);
    if (event == TacAnimatEvent::aeMouseDown || event == TacAnimatEvent::aeMouseUp)
        steps /= 2;
    const std::int32_t first =
        running && !running->Finished() ? running->Steps() - running->Step() : 1;
    return std::make_unique<TsButtonFade>(*cache, *cache, steps, first, std::move(redraw));
}

} // namespace skinned
