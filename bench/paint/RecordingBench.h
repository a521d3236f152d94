#pragma once

class COrvoApp;

// A macro recorded at the given ScaleFactor: from a key event reaching the
// capture source (the dialog's own keys, as where nothing grabs the
// keyboard) to its line painted in the record list.
void BenchRecordingLatency(COrvoApp& program, float scale);
