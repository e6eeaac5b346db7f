// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/SplashChange.h"

namespace corvane {
namespace {

template <typename T>
void Differ(std::optional<std::pair<T, T>>& kept, const T& before, const T& after) {
    if (!(before == after)) kept.emplace(before, after);
}

template <typename T>
const T& Side(const std::pair<T, T>& values, bool after) {
    return after ? values.second : values.first;
}

}  // namespace

SplashState SplashChange::Capture(const SplashDocument& splash) {
    return SplashState{*splash.Picture(SplashDocument::WelcomeId), *splash.Picture(SplashDocument::GoodbyeId),
                       splash.FileName(), splash.Name()};
}

SplashChange SplashChange::Between(const SplashState& before, const SplashState& after) {
    SplashChange change;
    Differ(change.welcome_, before.welcome, after.welcome);
    Differ(change.goodbye_, before.goodbye, after.goodbye);
    Differ(change.fileName_, before.fileName, after.fileName);
    Differ(change.name_, before.name, after.name);
    return change;
}

void SplashChange::Apply(SplashDocument& splash, bool after) const {
    if (welcome_) *splash.Picture(SplashDocument::WelcomeId) = Side(*welcome_, after);
    if (goodbye_) *splash.Picture(SplashDocument::GoodbyeId) = Side(*goodbye_, after);
    if (fileName_) splash.SetFileName(Side(*fileName_, after));
    if (name_) splash.SetName(Side(*name_, after));
}

}  // namespace corvane
