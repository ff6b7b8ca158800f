// The 52 stands of the collection in catalogue order: 29 mapped stands of the kinds and timber sizes
// of the stand menus, the five generated stands and 18 selection forests.
#include <cmath>

#include "common/format.h"
#include "tools/makestands/stands.h"

namespace tolvek::makestands {

namespace {

enum Sp : std::uint8_t { Fi = 1, Ta = 2, Ki = 3, Dgl = 4, Bu = 5, Ei = 6, Es = 7, Ah = 8, sLb = 9 };

Component Wb(std::uint8_t species, double share, double mean, double sd, double shape = 3.2) {
  Component c;
  c.species = species;
  c.share = share;
  c.dbh = DbhModel::Weibull;
  c.d1 = mean;
  c.d2 = sd;
  c.d3 = shape;
  return c;
}

Component Nm(std::uint8_t species, double share, double mean, double sd) {
  Component c = Wb(species, share, mean, sd);
  c.dbh = DbhModel::Normal;
  return c;
}

// Selection forest: reverse-J diameters; trees below clusterBelow grow up in regeneration clusters.
Component Rj(std::uint8_t species, double share, double q, double dmax, double clusterBelow = 20.0,
             double clustersPerHa = 10.0, double spread = 5.0) {
  Component c;
  c.species = species;
  c.share = share;
  c.dbh = DbhModel::ReverseJ;
  c.d1 = q;
  c.d2 = dmax;
  c.clusterBelow = clusterBelow;
  c.s1 = clustersPerHa;
  c.s2 = spread;
  return c;
}

Component Clu(Component c, double parentsPerHa, double spread) {
  c.pattern = Pattern::Cluster;
  c.s1 = parentsPerHa;
  c.s2 = spread;
  return c;
}

Component Grp(Component c, double groupsPerHa, double radius) {
  c.pattern = Pattern::Groups;
  c.s1 = groupsPerHa;
  c.s2 = radius;
  return c;
}

Component Lat(Component c, double rowDistance, double inRow, double angle) {
  c.pattern = Pattern::Lattice;
  c.s1 = rowDistance;
  c.s2 = inRow;
  c.s3 = angle;
  return c;
}

Component Under(Component c, double weight) {
  c.inhibition = weight;
  return c;
}

std::vector<BoundaryPoint> Rect(double w, double h) { return {{0, 0}, {0, h}, {w, h}, {w, 0}}; }

// An irregular outline of about the given area: corners on a jittered circle (surveyed plots).
std::vector<BoundaryPoint> Radial(double areaHa, int corners, std::uint32_t seed) {
  RandomGenerator r(seed);
  std::vector<double> radius(corners);
  const double kPi = 3.14159265358979323846;
  for (int i = 0; i < corners; ++i) radius[i] = 0.8 + 0.4 * r.NextReal();
  double area = 0.0;
  for (int i = 0; i < corners; ++i) area += 0.5 * radius[i] * radius[(i + 1) % corners] * std::sin(2 * kPi / corners);
  const double scale = std::sqrt(areaHa * 10000.0 / area);
  std::vector<BoundaryPoint> pts;
  for (int i = 0; i < corners; ++i) {
    const double a = -2 * kPi * i / corners + 0.3;
    pts.push_back({250 + scale * radius[i] * std::cos(a), 250 + scale * radius[i] * std::sin(a)});
  }
  return pts;
}

StandPlan Base(int entry, int number, char mixture, char kind, char size, const char* shortText) {
  StandPlan p;
  p.entry = entry;
  p.number = number;
  p.folder = (number >= 71 && number <= 90) ? "StandsCH" : "Bestande";
  p.mixture = mixture;
  p.kind = kind;
  p.size = size;
  p.shortText = shortText;
  p.seed = 1000u + 7919u * static_cast<std::uint32_t>(number);
  p.roughSegment = 30.0;
  p.roughAmplitude = 2.0;
  p.photoViews = 3;
  return p;
}

void MappedStands(std::vector<StandPlan>& v) {
  StandPlan p;

  // ---- Conifer stands, weak timber ----
  p = Base(1, 1, 'R', 'N', 'W', "Fichte,45 J.");
  p.outline = Rect(200, 150);
  p.stemsPerHa = 1100;
  p.components = {Lat(Wb(Fi, 1, 22, 5), 2.5, 2.0, 12)};
  p.hardCore = 2.0;
  p.title = "Fichten-Reinbestand, Stangenholz bis schwaches Baumholz";
  p.location = "Forstrevier Hohenau, Abteilung 14 a";
  p.site = "Mittelgebirge, 620 m ü. NN, mäßig frischer Lehm, eben";
  p.age = "45 Jahre, Pflanzung im Verband 2.5 x 2.0 m";
  p.structure = "einschichtig und gleichförmig; die Pflanzreihen sind noch deutlich zu erkennen, Ausfälle sind nicht nachgebessert";
  p.treatment = "zweimal niederdurchforstet, Rückegassen im Abstand von 30 m vorgesehen";
  p.note = "Reihenstruktur: ein Gitter parallel zu den Reihen kann systematische Fehler erzeugen";
  v.push_back(p);

  p = Base(2, 2, 'R', 'N', 'W', "Kiefer,55 J.");
  p.outline = {{0, 0}, {0, 180}, {260, 200}, {220, 0}};
  p.stemsPerHa = 850;
  p.components = {Wb(Ki, 1, 21, 4.5)};
  p.hardCore = 4.0;
  p.title = "Kiefern-Reinbestand, schwaches Baumholz";
  p.location = "Staatswald Sandhagen, Abteilung 7 c";
  p.site = "Tiefland, 60 m ü. NN, armer Sand, eben";
  p.age = "55 Jahre, aus Saat hervorgegangen";
  p.structure = "einschichtig, Stammverteilung zufällig bis leicht regelmäßig";
  p.treatment = "gestaffelte Hochdurchforstung, Z-Bäume markiert";
  p.note = "einfacher Übungsbestand für den Einstieg";
  v.push_back(p);

  p = Base(3, 3, 'M', 'N', 'W', "Fi/Bu,40 J.");
  p.outline = {{0, 20}, {10, 160}, {150, 190}, {200, 90}, {140, 0}};
  p.stemsPerHa = 1050;
  p.components = {Wb(Fi, 0.7, 19, 5), Grp(Wb(Bu, 0.3, 15, 5, 2.6), 3, 15)};
  p.hardCore = 2.5;
  p.title = "Fichten-Buchen-Mischbestand, Stangenholz";
  p.location = "Gemeindewald Lindach, Abteilung 3 b";
  p.site = "Hügelland, 480 m ü. NN, frischer Lehm, Westhang";
  p.age = "40 Jahre";
  p.structure = "Fichte einzeln gemischt, Buche in Gruppen von 10 bis 15 m Radius";
  p.treatment = "Erstdurchforstung mit Förderung der Buchengruppen";
  p.note = "gruppenweise Mischung: Baumartenanteile schwanken stark von Probe zu Probe";
  v.push_back(p);

  p = Base(4, 4, 'R', 'N', 'W', "Douglasie,35 J.");
  p.outline = {{0, 0}, {0, 170}, {200, 160}, {215, 10}};
  p.stemsPerHa = 650;
  p.components = {Lat(Wb(Dgl, 1, 25, 6), 4.0, 2.0, -8)};
  p.hardCore = 2.0;
  p.title = "Douglasien-Reinbestand, schwaches Baumholz";
  p.location = "Forstrevier Eschbach, Abteilung 21 d";
  p.site = "Mittelgebirge, 410 m ü. NN, tiefgründiger Lehm, Südhang";
  p.age = "35 Jahre, Pflanzung im Reihenverband 4 x 2 m";
  p.structure = "einschichtig, wüchsig, Reihen deutlich";
  p.treatment = "Z-Baum-Auslese mit 150 Z-Bäumen je ha, geastet bis 6 m";
  p.note = "weiter Reihenabstand: Probekreise treffen wechselnd Reihe und Gasse";
  v.push_back(p);

  p = Base(5, 5, 'M', 'N', 'W', "Ki/Fi,50 J.");
  p.outline = {{0, 0}, {0, 200}, {120, 210}, {200, 150}, {190, 0}};
  p.stemsPerHa = 950;
  p.components = {Wb(Ki, 0.6, 22, 4), Under(Clu(Wb(Fi, 0.4, 12, 4, 2.2), 12, 7), 0.4)};
  p.hardCore = 3.5;
  p.title = "Kiefern-Fichten-Mischbestand, zweischichtig";
  p.location = "Staatswald Sandhagen, Abteilung 9 a";
  p.site = "Tiefland, 85 m ü. NN, anlehmiger Sand, eben";
  p.age = "Kiefer 50 Jahre, Fichte 25 bis 35 Jahre";
  p.structure = "Kiefer im Oberstand, Fichte als Unterstand in Nestern";
  p.treatment = "Durchforstung im Oberstand, Unterstand belassen";
  p.note = "viele dünne Bäume knapp über der Kluppschwelle";
  v.push_back(p);

  // ---- Conifer stands, medium timber ----
  p = Base(6, 6, 'R', 'N', 'M', "Fichte,75 J.");
  p.outline = {{0, 0}, {0, 250}, {150, 250}, {150, 130}, {260, 130}, {260, 0}};
  p.stemsPerHa = 480;
  p.components = {Wb(Fi, 1, 32, 7)};
  p.hardCore = 4.0;
  p.gaps = 6;
  p.gapRadiusMin = 12;
  p.gapRadiusMax = 25;
  p.title = "Fichten-Reinbestand mit Sturmlücken, mittleres Baumholz";
  p.location = "Forstrevier Hohenau, Abteilung 16 b";
  p.site = "Mittelgebirge, 700 m ü. NN, staufeuchter Lehm, Kuppe";
  p.age = "75 Jahre";
  p.structure = "einschichtig, durch Sturmwurf sechs Lücken von 10 bis 25 m Radius";
  p.treatment = "Lücken geräumt, Fichte teils natürlich verjüngt (unter 7 cm)";
  p.note = "Lücken erhöhen die Streuung zwischen den Probeflächen deutlich";
  v.push_back(p);

  p = Base(7, 7, 'R', 'N', 'M', "Kiefer,85 J.");
  p.outline = {{0, 0}, {0, 200}, {120, 240}, {250, 210}, {240, 60}, {150, 0}};
  p.stemsPerHa = 420;
  p.components = {Wb(Ki, 1, 31, 6)};
  p.hardCore = 4.5;
  p.title = "Kiefern-Reinbestand, mittleres Baumholz";
  p.location = "Staatswald Heidekamp, Abteilung 12 a";
  p.site = "Tiefland, 95 m ü. NN, ziemlich armer Sand, flache Düne";
  p.age = "85 Jahre";
  p.structure = "einschichtig, regelmäßig, Kronen licht";
  p.treatment = "Hochdurchforstung, Vorbau mit Buche geplant";
  p.note = "gleichförmiger Bestand: kleine Variationskoeffizienten";
  v.push_back(p);

  p = Base(8, 8, 'M', 'N', 'M', "Dgl/Bu,60 J.");
  p.outline = {{0, 40}, {20, 210}, {180, 230}, {240, 120}, {200, 0}, {60, 0}};
  p.stemsPerHa = 430;
  p.components = {Wb(Dgl, 0.65, 38, 8), Under(Clu(Wb(Bu, 0.35, 20, 7, 2.4), 8, 9), 0.6)};
  p.hardCore = 4.0;
  p.title = "Douglasien-Buchen-Mischbestand, mittleres Baumholz";
  p.location = "Forstrevier Eschbach, Abteilung 18 c";
  p.site = "Mittelgebirge, 380 m ü. NN, frischer Lehm, Osthang";
  p.age = "Douglasie 60 Jahre, Buche 40 bis 60 Jahre";
  p.structure = "Douglasie herrschend, Buche im Zwischen- und Unterstand trupp- bis gruppenweise";
  p.treatment = "Z-Baum-Durchforstung der Douglasie, Buche dient als Schaftpfleger";
  p.note = "starke Durchmesserunterschiede der Baumarten";
  v.push_back(p);

  p = Base(9, 9, 'M', 'N', 'M', "Fi/Ta/Bu,90 J.");
  p.outline = {{0, 60}, {10, 220}, {90, 300}, {200, 280}, {260, 200}, {240, 90}, {170, 70}, {150, 0}, {40, 10}};
  p.stemsPerHa = 420;
  p.components = {Wb(Fi, 0.5, 36, 10), Clu(Wb(Ta, 0.25, 30, 12, 2.2), 6, 10), Grp(Wb(Bu, 0.25, 28, 9, 2.6), 2, 18)};
  p.hardCore = 4.0;
  p.title = "Bergmischwald aus Fichte, Tanne und Buche, mittleres Baumholz";
  p.location = "Forstrevier Steinach, Abteilung 5 a";
  p.site = "Bergland, 920 m ü. NN, frischer Braunlehm, Nordosthang";
  p.age = "90 Jahre, Tanne teils jünger";
  p.structure = "Fichte einzeln, Tanne truppweise, Buche in zwei bis drei großen Gruppen je ha";
  p.treatment = "Femelhieb eingeleitet, Tanne wird gezielt gefördert";
  p.note = "Standardbestand des Programms: gut geeignet für alle vier Verfahren";
  v.push_back(p);

  p = Base(10, 10, 'M', 'N', 'M', "Ta/Fi,95 J.");
  p.outline = {{0, 0}, {0, 200}, {260, 210}, {270, 0}};
  p.stemsPerHa = 400;
  p.components = {Clu(Wb(Ta, 0.55, 37, 11, 2.4), 5, 12), Wb(Fi, 0.45, 35, 8)};
  p.hardCore = 4.0;
  p.title = "Tannen-Fichten-Mischbestand, mittleres Baumholz";
  p.location = "Forstrevier Steinach, Abteilung 8 b";
  p.site = "Bergland, 780 m ü. NN, frischer Lehm, Nordhang";
  p.age = "95 Jahre";
  p.structure = "Tanne stark im Durchmesser gestreut und geklumpt, Fichte gleichförmig";
  p.treatment = "Vorratspflege, Tanne vor Verbiss geschützt verjüngt";
  p.note = "verschiedene Verteilungen der beiden Baumarten in einem Bestand";
  v.push_back(p);

  // ---- Conifer stands, strong timber ----
  p = Base(11, 11, 'R', 'N', 'S', "Fichte,110 J.");
  p.outline = {{0, 0}, {0, 260}, {300, 270}, {310, 20}};
  p.stemsPerHa = 290;
  p.components = {Wb(Fi, 1, 45, 9)};
  p.hardCore = 5.0;
  p.title = "Fichten-Reinbestand, starkes Baumholz";
  p.location = "Forstrevier Hohenau, Abteilung 2 a";
  p.site = "Mittelgebirge, 760 m ü. NN, frischer Lehm, Nordwesthang";
  p.age = "110 Jahre";
  p.structure = "einschichtig, ausgeprägt regelmäßig, geschlossenes Kronendach";
  p.treatment = "Zielstärkennutzung ab 50 cm beginnt";
  p.note = "regelmäßige Verteilung: Streuung kleiner als bei Zufallsverteilung";
  v.push_back(p);

  p = Base(12, 12, 'M', 'N', 'S', "Ta/Fi/Bu,130 J");
  p.outline = {{0, 0}, {0, 280}, {300, 280}, {300, 0}, {190, 0}, {190, 110}, {110, 110}, {110, 0}};
  p.stemsPerHa = 330;
  p.components = {Wb(Ta, 0.35, 52, 12, 2.8), Wb(Fi, 0.35, 50, 10), Under(Clu(Wb(Bu, 0.3, 14, 5, 1.8), 6, 9), 0.3)};
  p.hardCore = 4.5;
  p.title = "Tannen-Fichten-Altbestand mit Buchen-Unterstand";
  p.location = "Forstrevier Steinach, Abteilung 11 a und b";
  p.site = "Bergland, 860 m ü. NN, frischer Lehm, Nordhang";
  p.age = "Oberstand 130 Jahre, Buche 30 bis 50 Jahre";
  p.structure = "zweischichtig: starke Tannen und Fichten, darunter Buchen in Gruppen; hufeisenförmige Fläche um eine Wiese";
  p.treatment = "Schirmhieb, Buche als Unterstand eingebracht";
  p.note = "zweischichtiger Bestand: konzentrische Kreise oder WZP mit Zählfaktor 4 prüfen";
  v.push_back(p);

  p = Base(13, 13, 'R', 'N', 'S', "Kiefer,130 J.");
  p.outline = {{0, 100}, {30, 320}, {250, 360}, {330, 200}, {280, 20}, {120, 0}};
  p.counterClockwise = true;
  p.stemsPerHa = 210;
  p.components = {Wb(Ki, 1, 44, 7)};
  p.hardCore = 5.0;
  p.title = "Kiefern-Altbestand, starkes Baumholz";
  p.location = "Staatswald Heidekamp, Abteilung 4 b";
  p.site = "Tiefland, 70 m ü. NN, mäßig armer Sand, eben";
  p.age = "130 Jahre";
  p.structure = "einschichtig, licht, zufällige Stammverteilung";
  p.treatment = "Zielstärkennutzung, Samenbäume bleiben stehen";
  p.note = "die Grenzdatei ist gegen den Uhrzeigersinn aufgenommen";
  v.push_back(p);

  p = Base(14, 14, 'M', 'N', 'S', "Dgl/Fi,100 J.");
  p.outline = {{0, 0}, {0, 250}, {280, 260}, {260, 0}};
  p.stemsPerHa = 260;
  p.components = {Wb(Dgl, 0.5, 58, 11), Wb(Fi, 0.5, 42, 9)};
  p.hardCore = 4.5;
  p.title = "Douglasien-Fichten-Mischbestand, starkes Baumholz";
  p.location = "Forstrevier Eschbach, Abteilung 25 a";
  p.site = "Mittelgebirge, 450 m ü. NN, tiefgründiger Lehm, eben";
  p.age = "100 Jahre";
  p.structure = "einzelstammweise Mischung, Douglasie deutlich stärker als Fichte";
  p.treatment = "Zielstärkennutzung der Fichte, Douglasie als Wertholz";
  p.note = "große Grundflächenunterschiede der Mischbaumarten";
  v.push_back(p);

  p = Base(15, 15, 'M', 'N', 'S', "Fi/Ki,120 J.");
  p.outline = {{0, 0}, {20, 300}, {280, 290}, {300, 40}, {140, 60}};
  p.stemsPerHa = 250;
  p.components = {Wb(Fi, 0.55, 47, 9), Wb(Ki, 0.45, 45, 7)};
  p.hardCore = 4.5;
  p.gaps = 3;
  p.gapRadiusMin = 12;
  p.gapRadiusMax = 20;
  p.title = "Fichten-Kiefern-Mischbestand, starkes Baumholz";
  p.location = "Gemeindewald Lindach, Abteilung 10 a";
  p.site = "Hügelland, 520 m ü. NN, lehmiger Sand, Südhang";
  p.age = "120 Jahre";
  p.structure = "einzelstammweise Mischung, drei Käferlöcher";
  p.treatment = "Sanitärhiebe nach Borkenkäferbefall";
  p.note = "Grenze mit Einbuchtung am Südrand";
  v.push_back(p);

  // ---- Broadleaf stands, weak timber ----
  p = Base(16, 16, 'R', 'L', 'W', "Buche,55 J.");
  p.outline = {{0, 0}, {0, 160}, {190, 170}, {180, 0}};
  p.stemsPerHa = 950;
  p.components = {Clu(Wb(Bu, 1, 17, 6, 2.5), 30, 9)};
  p.hardCore = 2.5;
  p.title = "Buchen-Reinbestand, Stangenholz bis schwaches Baumholz";
  p.location = "Forstrevier Buchhorst, Abteilung 6 a";
  p.site = "Hügelland, 340 m ü. NN, Kalkverwitterungslehm, Nordhang";
  p.age = "55 Jahre, aus Naturverjüngung";
  p.structure = "einschichtig, dicht, die Herkunft aus Verjüngungskegeln ist noch zu erkennen";
  p.treatment = "Auslesedurchforstung mit 80 Z-Bäumen je ha";
  p.note = "hohe Stammzahl: kleine Probekreise genügen";
  v.push_back(p);

  p = Base(17, 17, 'M', 'L', 'W', "Es/Ah,40 J.");
  p.outline = {{0, 0}, {0, 150}, {170, 160}, {175, 20}};
  p.stemsPerHa = 900;
  p.components = {Wb(Es, 0.55, 19, 5), Grp(Wb(Ah, 0.45, 17, 5), 5, 12)};
  p.hardCore = 2.5;
  p.title = "Edellaubholz-Mischbestand aus Esche und Bergahorn";
  p.location = "Forstrevier Buchhorst, Abteilung 9 c";
  p.site = "Hügelland, 300 m ü. NN, nährstoffreicher Auelehm, Unterhang";
  p.age = "40 Jahre";
  p.structure = "Esche einzeln, Bergahorn in Gruppen";
  p.treatment = "Z-Baum-Durchforstung, Wertästung";
  p.note = "Baumartenanteile je nach Probefläche sehr verschieden";
  v.push_back(p);

  p = Base(18, 18, 'M', 'L', 'W', "Ei/Hb,45 J.");
  p.outline = {{0, 0}, {0, 170}, {200, 175}, {190, 0}};
  p.stemsPerHa = 1000;
  p.components = {Lat(Wb(Ei, 0.6, 20, 5), 2.5, 2.0, 4), Under(Clu(Wb(sLb, 0.4, 11, 3, 2.0), 20, 6), 0.4)};
  p.hardCore = 2.5;
  p.title = "Eichen-Pflanzbestand mit Hainbuche";
  p.location = "Staatswald Auerbruch, Abteilung 3 a";
  p.site = "Tiefland, 110 m ü. NN, wechselfeuchter Lehm, eben";
  p.age = "Eiche 45 Jahre, Hainbuche (s.Laubb) 30 Jahre";
  p.structure = "Eiche in Reihen gepflanzt, Hainbuche als dienender Unterstand";
  p.treatment = "Läuterung und erste Durchforstung, Hainbuche erhalten";
  p.note = "Hainbuche ist als sonstiges Laubholz (s.Laubb) erfasst";
  v.push_back(p);

  p = Base(19, 19, 'M', 'L', 'W', "Bu/Ei,60 J.");
  p.outline = {{0, 30}, {0, 220}, {190, 220}, {200, 0}, {60, 0}};
  p.stemsPerHa = 750;
  p.components = {Wb(Bu, 0.6, 22, 7, 2.6), Grp(Wb(Ei, 0.4, 24, 5), 2, 16)};
  p.hardCore = 3.0;
  p.title = "Buchen-Eichen-Mischbestand, schwaches Baumholz";
  p.location = "Gemeindewald Oberried, Abteilung 4 c";
  p.site = "Hügelland, 290 m ü. NN, mäßig frischer Lehm, Südosthang";
  p.age = "60 Jahre";
  p.structure = "Buche flächig, Eiche in Gruppen von 15 m Radius";
  p.treatment = "Eichengruppen werden freigestellt";
  p.note = "gruppenweise Mischung";
  v.push_back(p);

  // ---- Broadleaf stands, medium timber ----
  p = Base(20, 20, 'R', 'L', 'M', "Buche,95 J.");
  p.outline = {{0, 0}, {0, 250}, {270, 260}, {260, 0}};
  p.stemsPerHa = 320;
  p.components = {Wb(Bu, 1, 36, 9)};
  p.hardCore = 5.0;
  p.title = "Buchen-Hallenbestand, mittleres Baumholz";
  p.location = "Forstrevier Buchhorst, Abteilung 1 a";
  p.site = "Hügelland, 380 m ü. NN, Kalkverwitterungslehm, Hochfläche";
  p.age = "95 Jahre";
  p.structure = "einschichtig, hallenartig, regelmäßige Stammverteilung";
  p.treatment = "Lichtwuchsdurchforstung, Naturverjüngung ankommend";
  p.note = "klassischer Buchenbestand, Bild des Titels";
  v.push_back(p);

  p = Base(21, 21, 'R', 'L', 'M', "Eiche,110 J.");
  p.outline = {{0, 0}, {20, 280}, {270, 300}, {290, 40}};
  p.stemsPerHa = 260;
  p.components = {Wb(Ei, 1, 38, 8)};
  p.hardCore = 5.0;
  p.title = "Eichen-Reinbestand, mittleres Baumholz";
  p.location = "Staatswald Auerbruch, Abteilung 8 b";
  p.site = "Tiefland, 120 m ü. NN, wechselfeuchter Lehm, eben";
  p.age = "110 Jahre";
  p.structure = "einschichtig, Kronen licht, Stammverteilung leicht regelmäßig";
  p.treatment = "Hochdurchforstung, Unterbau mit Hainbuche vorgesehen";
  p.note = "Eichenbestand ohne Unterstand";
  v.push_back(p);

  p = Base(22, 22, 'M', 'L', 'M', "Bu/Es/Ah,85 J.");
  p.outline = {{0, 0}, {0, 220}, {120, 250}, {250, 230}, {240, 0}};
  p.stemsPerHa = 340;
  p.components = {Wb(Bu, 0.55, 34, 9), Clu(Wb(Es, 0.25, 36, 8), 4, 12), Clu(Wb(Ah, 0.2, 30, 8), 4, 10)};
  p.hardCore = 4.5;
  p.title = "Buchen-Edellaubholz-Mischbestand, mittleres Baumholz";
  p.location = "Forstrevier Buchhorst, Abteilung 12 b";
  p.site = "Hügelland, 350 m ü. NN, frischer Lehm über Kalk, Unterhang";
  p.age = "85 Jahre";
  p.structure = "Buche flächig, Esche und Ahorn trupp- bis gruppenweise an feuchten Stellen";
  p.treatment = "Förderung der Edellaubbäume, Zielstärke 60 cm";
  p.note = "drei Baumarten mit verschiedener Verteilung";
  v.push_back(p);

  p = Base(23, 23, 'M', 'L', 'M', "Bu/Fi,90 J.");
  p.outline = {{0, 0}, {0, 280}, {260, 280}, {260, 160}, {140, 160}, {140, 0}};
  p.stemsPerHa = 360;
  p.components = {Wb(Bu, 0.65, 35, 10), Grp(Wb(Fi, 0.35, 38, 8), 2, 20)};
  p.hardCore = 4.5;
  p.title = "Buchen-Fichten-Mischbestand, mittleres Baumholz";
  p.location = "Gemeindewald Oberried, Abteilung 9 a";
  p.site = "Bergland, 640 m ü. NN, frischer Lehm, Nordhang";
  p.age = "90 Jahre";
  p.structure = "Buche flächig, Fichte in großen Gruppen; winkelförmige Fläche";
  p.treatment = "Fichtengruppen werden nach und nach genutzt";
  p.note = "winkelförmige Grenze: Randkorrektur wichtig";
  v.push_back(p);

  p = Base(24, 24, 'M', 'L', 'M', "Es/Ah,70 J.");
  p.outline = {{0, 0}, {0, 200}, {240, 220}, {250, 60}, {150, 0}};
  p.stemsPerHa = 330;
  p.components = {Wb(Es, 0.45, 33, 8), Wb(Ah, 0.35, 28, 7), Clu(Wb(sLb, 0.2, 24, 6), 5, 8)};
  p.hardCore = 4.0;
  p.gaps = 8;
  p.gapRadiusMin = 8;
  p.gapRadiusMax = 18;
  p.title = "Eschen-Ahorn-Mischbestand mit Lücken, mittleres Baumholz";
  p.location = "Forstrevier Auenwald, Abteilung 2 c";
  p.site = "Flussaue, 140 m ü. NN, nährstoffreicher Auelehm, eben";
  p.age = "70 Jahre";
  p.structure = "Esche und Ahorn einzeln gemischt, Kirsche und Erle (s.Laubb) truppweise; acht Lücken nach Eschentriebsterben";
  p.treatment = "abgestorbene Eschen entnommen, Lücken mit Eiche bepflanzt";
  p.note = "Lücken und Trupps: hohe Streuung";
  v.push_back(p);

  // ---- Broadleaf stands, strong timber ----
  p = Base(25, 25, 'R', 'L', 'S', "Buche,140 J.");
  p.outline = {{0, 0}, {0, 300}, {340, 310}, {330, 0}};
  p.stemsPerHa = 165;
  p.components = {Wb(Bu, 1, 52, 11)};
  p.hardCore = 5.5;
  p.gaps = 5;
  p.gapRadiusMin = 10;
  p.gapRadiusMax = 20;
  p.title = "Buchen-Altbestand, starkes Baumholz";
  p.location = "Forstrevier Buchhorst, Abteilung 15 a";
  p.site = "Hügelland, 410 m ü. NN, Kalkverwitterungslehm, Hochfläche";
  p.age = "140 Jahre";
  p.structure = "einschichtig, regelmäßig, fünf Femellöcher mit Verjüngung unter 7 cm";
  p.treatment = "Femelschlag, Zielstärkennutzung ab 60 cm";
  p.note = "wenige starke Bäume: große Probekreise oder WZP";
  v.push_back(p);

  p = Base(26, 26, 'M', 'L', 'S', "Ei/Bu,180 J.");
  p.outline = {{0, 0}, {0, 340}, {380, 350}, {370, 0}};
  p.stemsPerHa = 230;
  p.components = {Wb(Ei, 0.45, 62, 10), Under(Clu(Wb(Bu, 0.55, 16, 7, 1.8), 10, 10), 0.3)};
  p.hardCore = 5.0;
  p.title = "Eichen-Altbestand mit Buchen-Unterstand";
  p.location = "Staatswald Auerbruch, Abteilung 1 a";
  p.site = "Tiefland, 130 m ü. NN, mäßig frischer Lehm, eben";
  p.age = "Eiche 180 Jahre, Buche 40 bis 80 Jahre";
  p.structure = "zweischichtig: Eichen-Oberstand einzeln, Buchen-Unterstand in Gruppen";
  p.treatment = "Wertholzpflege der Eiche, Unterstand schützt die Schäfte";
  p.note = "zwei Schichten mit sehr verschiedenen Durchmessern";
  v.push_back(p);

  p = Base(27, 27, 'M', 'L', 'S', "Bu/Ah/Es,130 J");
  p.outline = {{0, 50}, {30, 320}, {300, 330}, {320, 60}, {200, 0}};
  p.stemsPerHa = 190;
  p.components = {Wb(Bu, 0.6, 50, 11), Wb(Ah, 0.2, 44, 9), Clu(Wb(Es, 0.2, 47, 8), 3, 12)};
  p.hardCore = 5.0;
  p.title = "Buchen-Edellaubholz-Altbestand, starkes Baumholz";
  p.location = "Forstrevier Buchhorst, Abteilung 17 b";
  p.site = "Hügelland, 360 m ü. NN, frischer Lehm über Kalk, Mittelhang";
  p.age = "130 Jahre";
  p.structure = "Buche und Ahorn einzeln, Esche truppweise";
  p.treatment = "Zielstärkennutzung, Verjüngung unter Schirm";
  p.note = "gemischter Altbestand";
  v.push_back(p);

  p = Base(28, 28, 'R', 'L', 'S', "Eiche,200 J.");
  p.outline = {{0, 60}, {40, 380}, {300, 420}, {420, 300}, {400, 80}, {220, 0}};
  p.roughSegment = 35;
  p.roughAmplitude = 4;
  p.stemsPerHa = 95;
  p.components = {Wb(Ei, 1, 68, 12)};
  p.hardCore = 6.0;
  p.title = "Eichen-Altbestand, sehr starkes Baumholz";
  p.location = "Staatswald Auerbruch, Abteilung 14 a";
  p.site = "Tiefland, 100 m ü. NN, wechselfeuchter Lehm, eben";
  p.age = "200 Jahre";
  p.structure = "einschichtig, sehr licht, unregelmäßige Grenze entlang eines Baches";
  p.treatment = "Einzelstammnutzung von Furniereichen";
  p.note = "großer Bestand mit wenigen sehr starken Bäumen";
  v.push_back(p);

  p = Base(29, 29, 'M', 'L', 'S', "Bu/Ta,150 J.");
  p.outline = {{0, 0}, {0, 300}, {320, 320}, {330, 30}};
  p.stemsPerHa = 180;
  p.components = {Wb(Bu, 0.6, 54, 14, 2.6), Grp(Wb(Ta, 0.4, 50, 15, 2.2), 1.5, 22)};
  p.hardCore = 5.0;
  p.title = "Buchen-Tannen-Altbestand, starkes Baumholz";
  p.location = "Gemeindewald Oberried, Abteilung 12 a";
  p.site = "Bergland, 720 m ü. NN, frischer Lehm, Nordwesthang";
  p.age = "150 Jahre";
  p.structure = "Buche flächig, Tanne in großen Gruppen, Durchmesser stark gestreut";
  p.treatment = "Femelschlag mit langem Verjüngungszeitraum";
  p.note = "ungleichförmiger Altbestand";
  v.push_back(p);
}

void GeneratedStands(std::vector<StandPlan>& v) {
  StandPlan p;

  p = Base(30, 95, 'G', 'S', 'M', "Zufall,Fichte");
  p.outline = Rect(200, 150);
  p.stemsPerHa = 500;
  p.components = {Nm(Fi, 1, 30, 7)};
  p.hardCore = 0.0;
  p.structure = "Fichte, Stammfußpunkte völlig zufällig verteilt (Poisson-Prozess)";
  p.note = "Vergleichsbestand ohne jede räumliche Struktur";
  v.push_back(p);

  p = Base(31, 96, 'G', 'S', 'M', "Klumpen,Buche");
  p.outline = Rect(200, 200);
  p.stemsPerHa = 400;
  p.components = {Clu(Nm(Bu, 1, 28, 8), 8, 8)};
  p.hardCore = 0.0;
  p.structure = "Buche in Klumpen (Thomas-Prozess, 8 Klumpen je ha, Streuung 8 m)";
  p.note = "geklumpte Verteilung: große Streuung zwischen den Probeflächen";
  v.push_back(p);

  p = Base(32, 97, 'G', 'S', 'M', "regelmäßig,Ki");
  p.outline = Rect(250, 160);
  p.stemsPerHa = 450;
  p.components = {Nm(Ki, 1, 29, 5)};
  p.hardCore = 7.0;
  p.structure = "Kiefer, regelmäßige Verteilung durch Mindestabstände zwischen den Bäumen";
  p.note = "regelmäßige Verteilung: kleine Streuung zwischen den Probeflächen";
  v.push_back(p);

  p = Base(33, 98, 'G', 'S', 'M', "Lücken,Fi/Bu");
  p.outline = Rect(220, 180);
  p.stemsPerHa = 500;
  p.components = {Nm(Fi, 0.6, 32, 7), Nm(Bu, 0.4, 27, 7)};
  p.hardCore = 3.0;
  p.gaps = 10;
  p.gapRadiusMin = 12;
  p.gapRadiusMax = 22;
  p.structure = "Fichte und Buche einzeln gemischt, zehn Lücken von 12 bis 22 m Radius";
  p.note = "lückiger Bestand";
  v.push_back(p);

  p = Base(34, 99, 'G', 'S', 'M', "Gruppen,Fi/Bu/Ta");
  p.outline = Rect(240, 200);
  p.stemsPerHa = 420;
  p.components = {Nm(Fi, 0.5, 33, 8), Grp(Nm(Bu, 0.3, 29, 8), 2, 20), Grp(Nm(Ta, 0.2, 35, 10), 2, 15)};
  p.hardCore = 3.5;
  p.structure = "Fichte einzeln, Buche und Tanne in Gruppen von 15 bis 20 m Radius";
  p.note = "gruppenweise Mischung";
  v.push_back(p);

  for (StandPlan& s : v)
    if (s.mixture == 'G') {
      s.roughSegment = 0.0;
      s.heterogeneity = 0.0;
      s.photoViews = 0;
      s.shortText = s.shortText.substr(0, 16);
    }
}

void SelectionForests(std::vector<StandPlan>& v) {
  struct S {
    const char* shortText;
    double areaHa;
    double stemsPerHa;
    double ta, fi, bu, ah;  // shares of the stem number
    double q, dmax;
    char size;
    const char* location;
    const char* site;
    const char* structure;
  };
  const S table[18] = {
      {"Ta/Fi/Bu", 2.5, 450, 0.45, 0.35, 0.20, 0, 1.40, 95, 'M', "Plenterwald Hinterberg, Abteilung 3", "Voralpen, 1010 m ü. NN, frischer Lehm, Nordhang",
       "klassischer Plenteraufbau, Tanne vorherrschend"},
      {"Ta/Fi", 2.2, 480, 0.60, 0.40, 0, 0, 1.45, 90, 'M', "Plenterwald Hinterberg, Abteilung 5", "Voralpen, 1080 m ü. NN, frischer Lehm, Nordosthang",
       "Tannen-Fichten-Plenterwald, Verjüngung in Trupps"},
      {"Fi/Ta", 3.1, 400, 0.30, 0.70, 0, 0, 1.35, 85, 'M', "Bergwald Oberegg, Abteilung 2", "Voralpen, 1250 m ü. NN, skelettreicher Lehm, Westhang",
       "fichtenreicher Gebirgsplenterwald, Rotten"},
      {"Ta/Bu", 1.8, 520, 0.55, 0, 0.45, 0, 1.50, 80, 'W', "Gemeindewald Rüttenen, Abteilung 7", "Jura, 760 m ü. NN, Kalkverwitterungslehm, Nordhang",
       "junger Überführungsbestand mit vielen schwachen Bäumen"},
      {"Ta/Fi/Bu", 3.4, 420, 0.40, 0.40, 0.20, 0, 1.38, 105, 'S', "Plenterwald Toppwald-Süd, Abteilung 11", "Emmentaler Hügelland, 930 m ü. NN, Molasse, Nordhang",
       "vorratsreicher Plenterwald mit sehr starken Tannen"},
      {"Fi/Ta/Bu", 2.7, 460, 0.30, 0.50, 0.20, 0, 1.42, 90, 'M', "Plenterwald Toppwald-Nord, Abteilung 4", "Emmentaler Hügelland, 890 m ü. NN, Molasse, Osthang",
       "ausgeglichener Plenteraufbau"},
      {"Bu/Ta/Fi", 2.0, 470, 0.30, 0.20, 0.50, 0, 1.45, 85, 'M', "Gemeindewald Balm, Abteilung 2", "Jura, 690 m ü. NN, Kalkverwitterungslehm, Südhang",
       "buchenreicher Plenterwald"},
      {"Ta/Fi/Ah", 2.4, 440, 0.45, 0.35, 0, 0.20, 1.40, 95, 'M', "Plenterwald Schwarzenegg, Abteilung 6", "Voralpen, 1120 m ü. NN, frischer Lehm, Nordhang",
       "Plenterwald mit Bergahorn in Trupps"},
      {"Fi", 3.8, 380, 0.10, 0.90, 0, 0, 1.30, 80, 'M', "Bergwald Alpbach, Abteilung 9", "Alpen, 1480 m ü. NN, skelettreicher Lehm, Südosthang",
       "subalpiner Fichten-Plenterwald in Rotten"},
      {"Ta/Fi/Bu", 1.6, 500, 0.50, 0.30, 0.20, 0, 1.48, 90, 'W', "Privatwald Hasle, Parzelle 14", "Emmentaler Hügelland, 820 m ü. NN, Molasse, Nordwesthang",
       "kleiner Bauernplenterwald"},
      {"Ta/Fi/Bu", 2.9, 430, 0.40, 0.35, 0.25, 0, 1.36, 100, 'S', "Plenterwald Hinterberg, Abteilung 8", "Voralpen, 980 m ü. NN, frischer Lehm, Nordhang",
       "starke Tannen und Fichten, lückige Mittelschicht"},
      {"Fi/Bu", 2.6, 450, 0, 0.60, 0.40, 0, 1.40, 85, 'M', "Gemeindewald Rüttenen, Abteilung 12", "Jura, 820 m ü. NN, Kalkverwitterungslehm, Nordwesthang",
       "Fichten-Buchen-Plenterwald im Übergang"},
      {"Ta/Bu/Ah", 2.3, 470, 0.45, 0, 0.35, 0.20, 1.44, 90, 'M', "Gemeindewald Balm, Abteilung 5", "Jura, 740 m ü. NN, frischer Kalklehm, Nordhang",
       "Laubholzreicher Tannen-Plenterwald"},
      {"Ta/Fi/Bu", 3.0, 410, 0.40, 0.40, 0.20, 0, 1.33, 110, 'S', "Plenterwald Toppwald-Süd, Abteilung 14", "Emmentaler Hügelland, 960 m ü. NN, Molasse, Nordhang",
       "Plenterwald mit Zielstärken über 80 cm"},
      {"Fi/Ta", 2.1, 490, 0.35, 0.65, 0, 0, 1.46, 85, 'M', "Bergwald Oberegg, Abteilung 6", "Voralpen, 1180 m ü. NN, frischer Lehm, Nordhang",
       "Fichten-Tannen-Plenterwald, Verjüngung in Lücken"},
      {"Ta/Fi/Bu", 2.8, 440, 0.45, 0.30, 0.25, 0, 1.41, 95, 'M', "Plenterwald Schwarzenegg, Abteilung 2", "Voralpen, 1060 m ü. NN, frischer Lehm, Nordosthang",
       "stufiger Plenterwald, Gleichgewichtszustand"},
      {"Bu/Ta", 1.9, 500, 0.40, 0, 0.60, 0, 1.47, 80, 'W', "Privatwald Hasle, Parzelle 22", "Emmentaler Hügelland, 780 m ü. NN, Molasse, Osthang",
       "buchenreicher Überführungswald"},
      {"Ta/Fi/Bu", 3.3, 430, 0.40, 0.40, 0.20, 0, 1.38, 100, 'S', "Plenterwald Toppwald-Nord, Abteilung 9", "Emmentaler Hügelland, 910 m ü. NN, Molasse, Nordhang",
       "Versuchsfläche mit örtlichem Messsystem"},
  };
  for (int i = 0; i < 18; ++i) {
    const S& s = table[i];
    const int number = 71 + i;
    StandPlan p = Base(35 + i, number, 'P', 'P', s.size, "");
    // "Place,mixture" cut to the 16 characters of the catalogue column.
    std::string place = s.location;
    place = place.substr(place.find(' ') + 1);
    place = place.substr(0, place.find(','));
    p.shortText = Utf8Left(place + "," + s.shortText, 16);
    p.outline = Radial(s.areaHa, 7 + i % 4, 500u + number);
    p.roughSegment = 25.0;
    p.roughAmplitude = 1.5;
    p.stemsPerHa = s.stemsPerHa;
    const double parents = 8.0 + (i % 3) * 3.0;
    // The q-factors of the table are those of stem counts from 4 cm on; above the calliper
    // threshold the curve is flatter by about 0.1.
    const double q = s.q - 0.1;
    if (s.ta > 0) p.components.push_back(Rj(Ta, s.ta, q, s.dmax, 22.0, parents, 5.0));
    if (s.fi > 0) p.components.push_back(Rj(Fi, s.fi, q - 0.03, s.dmax - 5, 20.0, parents, 4.5));
    if (s.bu > 0) p.components.push_back(Rj(Bu, s.bu, q + 0.05, s.dmax - 20, 18.0, parents, 5.5));
    if (s.ah > 0) p.components.push_back(Rj(Ah, s.ah, q + 0.05, s.dmax - 25, 18.0, parents / 2, 6.0));
    p.hardCore = 3.5;
    p.title = "Plenterwald " + place + " (" + s.shortText + ")";
    p.location = s.location;
    p.site = s.site;
    p.age = "ungleichaltrig, Bäume von 20 bis über 200 Jahren";
    p.structure = std::string(s.structure) + "; umgekehrt J-förmige Durchmesserverteilung, Jungwuchs in Gruppen unter Lücken";
    p.treatment = "Plenterung alle 8 bis 10 Jahre, Eingriff in allen Durchmesserstufen";
    p.note = "ungleichaltriger Bestand: konzentrische Probekreise empfohlen";
    p.photoViews = 2;
    if (number == 71) {
      p.exactTrees = 1121;
      p.note = "das Programm liest von diesem Bestand höchstens 1121 Bäume; die Datei enthält genau so viele";
    }
    if (number == 88) {
      // The stem map was measured from a local origin 30 m east and 20 m north of the boundary's
      // corner; the program adds this offset when it reads the trees.
      p.outline = {{0, 130}, {34, 112}, {40, 40}, {95, 26}, {120, 0}, {140, 24}, {200, 30},
                   {215, 90}, {210, 180}, {160, 205}, {80, 200}, {36, 150}};
      p.roughSegment = 30.0;
      p.roughAmplitude = 1.0;
      p.offsetX = 30.0;
      p.offsetY = 20.0;
      p.note = "Stammkoordinaten im örtlichen Messsystem (Ursprung 30 m Ost, 20 m Nord); die Grenzzipfel im Westen und Süden sind baumfrei";
    }
    v.push_back(p);
  }
}

}  // namespace

std::vector<StandPlan> CollectionPlans() {
  std::vector<StandPlan> v;
  MappedStands(v);
  GeneratedStands(v);
  SelectionForests(v);
  return v;
}

}  // namespace tolvek::makestands
