// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// The temporaries a write puts beside its targets, and what keeps them from
// outliving it: a name of their own that a later write recognises, a lock
// held while their writer lives, and removal on Ctrl+C and SIGTERM. Only the
// whole-file writes (FileAccess.cpp) use them.
#pragma once

#include <signal.h>

#include <string>

namespace corvane {

// Registers a named temporary for removal should SIGINT or SIGTERM end the
// process before it is renamed or removed; unregisters it when destroyed.
class NamedTemporary {
public:
    explicit NamedTemporary(const std::string& path);
    ~NamedTemporary();
    NamedTemporary(const NamedTemporary&) = delete;
    NamedTemporary& operator=(const NamedTemporary&) = delete;

private:
    int slot_ = -1;
};

// Holds off the signals that end a process while a set takes its names,
// so that an interrupted set is all old or all new; they arrive afterwards.
class SignalsHeldOff {
public:
    SignalsHeldOff();
    ~SignalsHeldOff();
    SignalsHeldOff(const SignalsHeldOff&) = delete;
    SignalsHeldOff& operator=(const SignalsHeldOff&) = delete;

private:
    sigset_t previous_;
};

// A fresh temporary's path in the folder, named so that the next write there
// recognises it.
std::string TemporaryNameIn(const std::string& folder);

// Every temporary is locked by its writer from its creation on; one nobody
// holds was left by a process that was killed outright (SIGKILL, a power cut).
bool LockTemporary(int fd);

// Removes this user's temporaries in the folder that no living writer holds.
void RemoveAbandonedTemporaries(const std::string& folder);

// True when the name still leads to the open file: a cleaner that locked it
// in the moment before its writer did has removed the name.
bool StillNamed(int fd, const std::string& name);

}  // namespace corvane
