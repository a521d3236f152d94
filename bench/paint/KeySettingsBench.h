#pragma once

class COrvoApp;
class ScriptedPrompts;

// The key settings dialog at the given ScaleFactor: from construction until
// it is shown, and a page switch with its repaint.
void BenchKeySettingsPaint(COrvoApp& program, float scale);
// A record list of 1600 lines: switching its delay mode and a menu insertion
// at its top, each through the dialog as a click makes it.
void BenchRecordListEdits(COrvoApp& program, ScriptedPrompts& prompts);
