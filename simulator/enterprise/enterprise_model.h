#pragma once
// The enterprise level's data: the three model enterprises, their compartments cut into stands, the
// class colours of the map, and the one session object that holds all enterprise state of a program
// run. Qt-free: the windows only show it and call into it.
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "common/canvas.h"
#include "common/random.h"
#include "simulator/sampling/geometry.h"

namespace tolvek {

// The random draws of the enterprise level: from the program's one generator, in the order the work
// takes them; tests script them.
class RandomDraws {
 public:
  virtual ~RandomDraws() = default;
  virtual int Next(int n) = 0;    // 0 .. n - 1
  virtual double NextReal() = 0;  // [0, 1)
};
class GeneratorDraws final : public RandomDraws {
 public:
  explicit GeneratorDraws(RandomGenerator& g) : g_(g) {}
  int Next(int n) override { return g_.Next(n); }
  double NextReal() override { return g_.NextReal(); }

 private:
  RandomGenerator& g_;
};

// A polygon of the enterprise map in metres: its corners in order, the first repeated as the last.
using Ring = std::vector<GeoPoint>;

// The trapezoid sum of a closed ring (positive for clockwise corners, x right and y up), m².
double RingArea(const Ring& ring);

inline constexpr int kEnterpriseCount = 3;
inline constexpr int kMaxCompartments = 80;
inline constexpr int kMaxStandsPerCompartment = 27;

// What the program fixes of each model enterprise.
struct ModelEnterpriseInfo {
  int number = 0;
  int compartments = 0;
  const char* sizeCaption = "";  // as the choice window shows it
  double angle = 0.0;            // map rotation (rad)
  // Map scale factor: times the screen scale it gives pixels per metre. Enterprise 3 takes the smaller
  // one on a screen 768 pixels high or less.
  double factor = 0.0;
  double factorSmallScreen = 0.0;
};
// Number 1 to 3; anything else gives enterprise 1's record with number 0.
const ModelEnterpriseInfo& ModelEnterprise(int number);
// Pixels per metre of the enterprise map.
double EnterpriseMapScale(int number, double screenScale, int screenHeight);

// One stand polygon of a compartment.
struct EnterpriseStand {
  double area = 0.0;         // ha
  int typePosition = 1;      // 1..5: position in the chosen types
  int cls = 1;               // 1..5: age class or treatment type, by the classification mode
  int modelStand = 0;        // entry of the model-stand table; 0 none
  int secondValue = 0;       // carried unchanged through the structure file
  Ring corners;              // closed, clockwise
};

struct Compartment {
  double area = 0.0;         // ha: the sum of its stands' areas
  int typePosition = 0;      // 0 before a structure exists
  int thirdValue = 0;        // carried unchanged through the structure file
  int kind = 1;              // subdivision kind 1..8
  std::vector<EnterpriseStand> stands;
};

// The types of the enterprise structure in their positions 1..5 (codes 1..8, 0 for an empty position).
struct ChosenTypes {
  int count = 0;
  std::array<int, 6> codes{};  // index 1..5
  bool Empty() const { return count <= 0; }
};

// Every piece of enterprise state of one program run.
struct EnterpriseSession {
  int number = 0;             // 1..3; 0: the choice window was left with "zurück"
  int compartmentCount = 0;   // 20 or 80
  bool takeModeFromFile = false;
  std::array<int, 4> storedMode{9, 9, 9, 9};  // index 1..3: first line of the structure file, 9 not read
  int viewRow = 0;            // 0 the upper row of the choice window was clicked last, 1 the lower row
  std::string modeCaption;    // "   Akl" or "   WET"
  std::string captionPrefix;  // "Betrieb Nr." translated
  int standCount = 0;
  double totalArea = 0.0;     // ha
  double mapAngle = 0.0;      // rad
  double mapScale = 0.0;      // pixels per metre
  int cutSpread = 70;         // per cent
  int standLevel = 3;         // of the compartment cut last
  int piecesPerCut = 3;
  bool firstDrawing = false;  // every stand light green while set
  int markedCompartment = 0;
  ChosenTypes chosen;
  // The compartment outlines as read for the chosen enterprise (index 1..compartmentCount; 0 unused),
  // and the compartments with their stands (the same indices).
  std::vector<Ring> outlines;
  std::vector<Compartment> compartments;

  Compartment& At(int a) { return compartments[static_cast<std::size_t>(a)]; }
  const Compartment& At(int a) const { return compartments[static_cast<std::size_t>(a)]; }
  const Ring& Outline(int a) const { return outlines[static_cast<std::size_t>(a)]; }
};

// Colour of a stand on the map by type position and class (1..7 each; anything else gives the colour
// value 1, all but black).
Colour ClassColour(int typePosition, int cls);
// The light green of the map's first drawing, before the structure is known.
inline constexpr Colour kFirstDrawingColour = 0xB9FFBB;

// Stand count := the compartments' stand counts summed; total area := their areas summed.
void SumEnterpriseArea(EnterpriseSession& s);

// The figures of the enterprise as the main window's labels show them; German texts pass through tr.
using TranslateFn = std::function<std::string(const std::string&)>;
struct EnterpriseLabelTexts {
  std::string bestand;  // caption prefix + number + mode caption
  std::string flaeche;  // "Fläche:" and the total area
  std::string baeume;   // "Bestände:" and the stand count
  std::string groesse;  // "Mittl. Fläche:" and the mean stand area ("-" without stands)
};
EnterpriseLabelTexts MakeEnterpriseLabels(const EnterpriseSession& s, int numberWidth, const TranslateFn& tr);

}  // namespace tolvek
