#pragma once
#include <cstdint>

namespace tolvek {

// The run flags that buttons set and long loops test. While `busy` is set a pass, a repetition run or
// an animation is under way, and only the run controls and "Ende" may act.
struct RunControl {
  bool graphics = true;             // draw while a pass or a run goes on
  bool enterpriseMode = false;      // stand route or enterprise route
  bool waitAbort = false;           // ends WaitMs early; cleared by it
  bool repetitionStop = false;      // the repetition loop stops after the current repetition
  bool repeatMode = false;          // "Auswertung" runs repetitions
  bool singleStep = false;          // long pause per repetition
  bool showReport = false;          // evaluation opens the stand report
  bool repetitionFlag = false;      // a run of repetitions is under way (set by its weighting question,
                                    // cleared by "Neues Verfahren / Druck"): the grid keeps its spacing
  bool evaluationStarted = false;   // set by every "Auswertung"
  bool modelStandTableLoaded = false;
  bool specialFunctions = false;
  bool busy = false;                // a long computation runs on the event loop
  bool endRequested = false;        // "Ende" was confirmed while busy: the loop stops, then the program ends
};

}  // namespace tolvek
