// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

#include "model/UserInterface.h"

namespace corvane {

Answer Tell(UserInterface& user, std::string text, MessageIcon icon, MessageButtons buttons, Answer defaultButton) {
    Message message;
    message.text = std::move(text);
    message.caption = user.ApplicationName();
    message.icon = icon;
    message.buttons = buttons;
    message.defaultButton = defaultButton;
    return user.ShowMessage(message);
}

std::optional<std::string> AskExistingFile(UserInterface& user, std::string title, std::string filter) {
    FilePrompt prompt;
    prompt.title = std::move(title);
    prompt.filter = std::move(filter);
    prompt.mustExist = true;
    return user.AskOpenFile(prompt);
}

Answer TellWithDetails(UserInterface& user, std::string text, std::string details, MessageIcon icon) {
    Message message;
    message.text = std::move(text);
    message.caption = user.ApplicationName();
    message.icon = icon;
    message.details = std::move(details);
    return user.ShowMessage(message);
}

bool MayLeave(UserInterface& user, bool modified, std::string_view question, const std::function<bool()>& save) {
    if (!modified) return true;
    switch (Tell(user, std::string(question), MessageIcon::Question, MessageButtons::YesNoCancel, Answer::Yes)) {
        case Answer::No: return true;
        case Answer::Yes: return save();
        default: return false;
    }
}

std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter) {
    std::vector<std::string> parts;
    std::string current;
    for (char c : filter) {
        if (c == '|') {
            parts.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) parts.push_back(current);
    std::vector<std::pair<std::string, std::string>> pairs;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        if (parts[i].empty() && parts[i + 1].empty()) break;
        pairs.emplace_back(parts[i], parts[i + 1]);
    }
    return pairs;
}

}  // namespace corvane
