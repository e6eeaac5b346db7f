// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashSession.h"

#include "io/PathNames.h"
#include "model/ProgramText.h"
#include "model/UserInterface.h"

namespace corvane {

std::string SplashSession::Title() const { return WindowTitle(document_.FileName(), document_.IsModified()); }

std::string SplashSession::ShownName() const { return LastPathComponent(document_.FileName()); }

SplashLoadOutcome SplashSession::LoadPicture(std::uint16_t id, const std::optional<std::string>& chosen) {
    SplashLoadOutcome outcome = SplashLoadOutcome::UnknownId;
    if (!document_.Picture(id)) return outcome;
    history_.Run(id == SplashDocument::WelcomeId ? "Load Welcome Image" : "Load Goodbye Image", [&] {
        outcome = chosen ? LoadSplashImage(document_, user_, id, *chosen) : ChooseSplashImage(document_, user_, id);
    });
    return outcome;
}

SplashImageSaveOutcome SplashSession::SavePicture(std::uint16_t id) {
    if (!document_.Picture(id)) return SplashImageSaveOutcome::UnknownId;
    if (!document_.HasImage(id)) {
        Tell(user_, std::string(id == SplashDocument::WelcomeId ? kNeedWelcomeImage : kNeedGoodbyeImage),
             MessageIcon::Warning);
        return SplashImageSaveOutcome::ImageMissing;
    }
    return ExtractSplashImage(document_, user_, id);
}

SplashReadOutcome SplashSession::Open(const std::optional<std::string>& chosen) {
    const SplashReadOutcome outcome = ReadSplash(document_, user_, chosen);
    if (outcome != SplashReadOutcome::Opened) return outcome;
    // Another file: nothing of the previous one can be undone into it.
    history_.Forget();
    history_.MarkSaved();
    return outcome;
}

template <class Command>
SplashSaveOutcome SplashSession::WithBothPictures(Command save) {
    if (!document_.HasBothImages()) {
        Tell(user_, std::string(kNeedBothImages), MessageIcon::Warning);
        return SplashSaveOutcome::ImageMissing;
    }
    const SplashSaveOutcome outcome = save();
    if (outcome == SplashSaveOutcome::Saved) history_.MarkSaved();
    return outcome;
}

SplashSaveOutcome SplashSession::Save() {
    return WithBothPictures([this] { return SaveSplash(document_, user_); });
}

SplashSaveOutcome SplashSession::SaveAs() {
    return WithBothPictures([this] { return SaveSplashAs(document_, user_); });
}

bool SplashSession::MayLeave(Leaving why, const std::function<void(SplashSaveOutcome)>& saved) {
    const std::string_view question = why == Leaving::ToOtherEditor ? kLeaveSplashQuestion : kExitSplashQuestion;
    return corvane::MayLeave(user_, document_.IsModified(), question, [&] {
        const SplashSaveOutcome outcome = Save();
        if (saved) saved(outcome);
        return outcome == SplashSaveOutcome::Saved;
    });
}

std::optional<std::uint16_t> SplashPictureId(int which) {
    if (which == 0) return SplashDocument::WelcomeId;
    if (which == 1) return SplashDocument::GoodbyeId;
    return std::nullopt;
}

}  // namespace corvane
