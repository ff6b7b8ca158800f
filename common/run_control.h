#pragma once
#include <cstdint>
#include <functional>

namespace tolvek {

// When a long loop last handled window events (clock ms), shared by the loops of one program: a run
// of repetitions starts a pass at every repetition, and a pass that pumped at its start, however
// recently the run had, made the windows repaint at every repetition.
struct PumpSchedule {
  std::uint64_t lastMs = 0;
  bool started = false;
  // Runs before every loop of the program hands over to window events (a throttle's pump, a wait):
  // what the windows may look at then is brought up to date (null: nothing to do).
  std::function<void()> beforePump;
};

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
  // With the graphics on, each repetition of a run stays on the screen at least this long, so that a
  // person can watch the histogram grow and stop the run where it stands (with the graphics off a run
  // goes at full speed).
  unsigned repetitionShownMs = 5;
  PumpSchedule pumps;               // of every loop's PumpThrottle
};

}  // namespace tolvek
