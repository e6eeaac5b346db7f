// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// Everything a command asks of the person at the keyboard. The editor answers
// with real dialogs; tests answer with a script and check every text.
//
// Filters use the "Name (*.ext)|*.ext|All files (*.*)|*.*||" form: pairs of
// a description and a pattern, each followed by '|', ended by an extra '|'.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace corvane {

enum class MessageIcon { None, Information, Warning, Error, Question };
// YesYesToAllNoCancel: one question of many alike (a file to overwrite in a
// set), where "Yes to All" answers the rest and Cancel stops the command.
enum class MessageButtons { Ok, OkCancel, YesNo, YesNoCancel, YesYesToAllNoCancel };
enum class Answer { Ok, Cancel, Yes, No, YesToAll };

struct Message {
    std::string text;
    // The caption: the application's name for messages owned by an editor
    // window, "Corvane Desktop" where a message names it, and nothing where a
    // message has no caption of its own (the platform shows its default).
    std::optional<std::string> caption;
    MessageIcon icon = MessageIcon::None;
    MessageButtons buttons = MessageButtons::Ok;
    Answer defaultButton = Answer::Ok;
    bool ownedByWindow = true;
    // Which file the message is about and why, one line each, shown on
    // request below the text; empty for none.
    std::string details;
};

struct FilePrompt {
    std::string title;             // empty: the platform's own title
    std::string filter;            // "a|b|c|d||" form
    std::string defaultExtension;  // without the dot; empty for none
    std::string proposedName;      // empty for none
    bool confirmOverwrite = false; // save prompts only
    bool mustExist = false;        // open prompts: path and file must exist
    bool ownedByWindow = true;
};

class UserInterface {
public:
    virtual ~UserInterface() = default;

    // The caption of window-owned messages: the program's name, "Corvane Desktop" on screen.
    virtual std::string ApplicationName() const = 0;

    virtual Answer ShowMessage(const Message& message) = 0;
    // The chosen full path, or nothing when cancelled.
    virtual std::optional<std::string> AskOpenFile(const FilePrompt& prompt) = 0;
    virtual std::optional<std::string> AskSaveFile(const FilePrompt& prompt) = 0;
    virtual std::optional<std::string> AskFolder(const std::string& title) = 0;
};

// The prompt for one file that must exist, by its title and filter: the
// chosen path, or nothing when cancelled.
std::optional<std::string> AskExistingFile(UserInterface& user, std::string title, std::string filter);

// A message of the window the command runs in, captioned with the
// application's name; the user's answer.
Answer Tell(UserInterface& user, std::string text, MessageIcon icon, MessageButtons buttons = MessageButtons::Ok,
            Answer defaultButton = Answer::Ok);

// The same with the details: the files the message is about and why.
Answer TellWithDetails(UserInterface& user, std::string text, std::string details, MessageIcon icon);

// Before an editor whose document has unsaved changes closes: the question
// with Yes (the default), No and Cancel. Yes runs `save`, and the editor
// closes only when it saved; No closes; Cancel stays. True to close.
bool MayLeave(UserInterface& user, bool modified, std::string_view question, const std::function<bool()>& save);

// Splits a "a|b|c|d||" filter into its (description, pattern) pairs.
std::vector<std::pair<std::string, std::string>> SplitFilter(const std::string& filter);

}  // namespace corvane
