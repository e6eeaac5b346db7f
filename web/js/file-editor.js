// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the skin and splash editors share over a session of the core: a
// command run with the page's answers, opening a file, saving (the core
// writes under /out/, the page hands the file over) and the question about
// unsaved changes on leaving. The sessions name success in their own words,
// and an editor says which: `opened` and `saved`, the outcomes of an open and
// a save that succeeded, and `path`, the session's file path, the untitled
// path until the file has one.
import { FileKind, freshFolder, readable, stageFile, theCore } from './core.js';
import { runCommand } from './commands.js';

export class FileEditor {
  constructor(session, target, { opened, saved, path }) {
    this.session = session;
    this.target = target;
    this.outcomes = { opened, saved };
    this.path = path;
  }

  refresh() {}

  async run(call, paths, onAnswer) {
    const result = await runCommand(this.session, call, paths, onAnswer);
    this.refresh();
    return result;
  }

  async open(files, handle = null) {
    if (!files.length) return;
    const path = await stageFile(freshFolder('/in'), files[0], FileKind.Database);
    const result = await this.run(() => this.session.open(path));
    if (result.outcome === this.outcomes.opened) this.target.remember(handle);
  }

  // Where a save goes; null when the user cancelled choosing a name.
  async savePath(asNew) {
    const untitled = this.path() === theCore().untitledPath();
    const name = await this.target.choose(this.session.fileName(), asNew || untitled);
    return name && `${freshFolder('/out')}/${name}`;
  }

  async save(asNew) {
    const path = await this.savePath(asNew);
    if (!path) return;
    const result = await this.run(() => this.session.saveAs(), [path]);
    if (result.outcome === this.outcomes.saved) await this.target.deliver(path);
  }

  // The question about unsaved changes, with Yes saving as Save does; true
  // when the editor may end.
  async close(switching) {
    let path = null;
    const result = await runCommand(this.session, () => this.session.close(switching), [],
      async (answer) => (answer === 'Yes' ? [(path = await this.savePath(false))] : []));
    if (path && result.outcome !== 'Stayed' && readable(path)) await this.target.deliver(path);
    return result.outcome !== 'Stayed';
  }
}
