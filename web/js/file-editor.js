// SPDX-FileCopyrightText: 2026 The Corvane Desktop developers
// SPDX-License-Identifier: GPL-3.0-or-later

// What the skin and splash editors share over a session of the core: a
// command run with the page's answers, opening a file, saving and the
// question about unsaved changes on leaving. The session decides (when Save
// needs a name, what Open does, what is asked); the page only asks the user
// and hands the written file over: back into the opened file where the
// browser can write it, else as a download.
import { FileKind, folderOf, freshFolder, inCommand, stageFile } from './core.js';
import { runCommand } from './commands.js';

export class FileEditor {
  constructor(session, target) {
    this.session = session;
    this.target = target;
  }

  refresh() {}

  async run(call, paths, onAnswer) {
    const result = await runCommand(this.session, call, paths, onAnswer);
    this.refresh();
    return result;
  }

  // The opened file leaves the module with the command; the session keeps
  // what it read.
  open(files, handle = null) {
    return inCommand(async () => {
      if (!files.length) return;
      const path = await stageFile(freshFolder('/in'), files[0], FileKind.Database);
      const result = await this.run(() => this.session.open(path));
      if (result.outcome === 'Opened') this.target.remember(handle);
    });
  }

  // The paths for a save's prompts: the place the user chose when the save
  // needs a name, none when it writes the session's own file (whose folder
  // went with the command that opened it); null when the user cancelled choosing.
  async savePaths(named) {
    const name = await this.target.choose(this.session.fileName(), named);
    if (!name) return null;
    if (!named) folderOf(this.session.filePath());
    return named ? [`${freshFolder('/out')}/${name}`] : [];
  }

  save(asNew) {
    return inCommand(async () => {
      const named = asNew || this.session.saveNeedsName();
      const paths = await this.savePaths(named);
      if (!paths) return;
      const result = await this.run(() => (named ? this.session.saveAs() : this.session.save()), paths);
      if (result.outcome === 'Saved') await this.target.deliver(this.session.filePath());
    });
  }

  // The question about unsaved changes, with Yes saving as Save does; true
  // when the editor may end.
  close(switching) {
    return inCommand(async () => {
      let saving = false;
      const result = await runCommand(this.session, () => this.session.close(switching), [], async (answer) => {
        if (answer !== 'Yes') return [];
        saving = true;
        return (await this.savePaths(this.session.saveNeedsName())) ?? [null];
      });
      // Yes leaves only when the save succeeded.
      if (saving && result.outcome === 'Closed') await this.target.deliver(this.session.filePath());
      return result.outcome !== 'Stayed';
    });
  }
}
