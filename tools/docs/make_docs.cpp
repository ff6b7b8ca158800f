// make_docs SOURCE_ROOT PROGRAM_FOLDER
// Makes the shipped documents that are made rather than written:
// - the seven theory documents "Vorgaben/Theo*.PDF" from tools/docs/theory/*.html, drawn with Qt's
//   PDF writer (formulas and figures as vector graphics, fonts DejaVu Serif and Sans embedded);
// - the manuals of the languages that carry the English text ("AnleitungCZ.htm" …), each the English
//   manual with its title page from tools/docs/manual/.
// The output depends only on the sources: the hash seed is fixed and the creation date is the
// program's release date, so a second run gives the same bytes.
#include <QAbstractTextDocumentLayout>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QHash>
#include <QHashSeed>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextObjectInterface>
#include <cstdio>
#include <memory>

#include "tools/docs/figures.h"
#include "tools/docs/formula.h"

namespace {

constexpr int kResolution = 600;
constexpr double kDotsPerMm = kResolution / 25.4;
constexpr double kPageW = 210, kPageH = 297, kLeft = 22, kRight = 22, kTop = 20, kBottom = 24;
constexpr int kObjectType = QTextFormat::UserObject + 1;
constexpr int kObjectName = QTextFormat::UserProperty + 1;
const char* const kReleaseDate = "20140224000000Z";

const char* const kTheoryDocuments[] = {"TheoAllgemein", "TheoBHD",   "TheoGrundflaeche", "TheoVarianz",
                                        "TheoOptimierung", "TheoBias", "TheoNBaum"};
const char* const kManualLanguages[] = {"CZ", "FR", "SP", "PL", "TR"};
const char* const kFonts[] = {"dejavu/DejaVuSerif.ttf",     "dejavu/DejaVuSerif-Italic.ttf",
                              "dejavu/DejaVuSerif-Bold.ttf", "dejavu/DejaVuSerif-BoldItalic.ttf",
                              "dejavu/DejaVuSans.ttf",       "dejavu/DejaVuSans-Bold.ttf",
                              "dejavu/DejaVuSans-Oblique.ttf"};

QFont FormulaFont() {
  QFont f("DejaVu Serif");
  f.setPointSizeF(11);
  return f;
}

// Draws "fig:name" (or "fig:name/en") and "eq:formula" objects in place of the placeholders.
class Objects : public QObject, public QTextObjectInterface {
  Q_OBJECT
  Q_INTERFACES(QTextObjectInterface)

 public:
  explicit Objects(QPaintDevice* device) : device_(device) {}
  QString error;

  QSizeF intrinsicSize(QTextDocument*, int, const QTextFormat& format) override {
    const QString name = format.property(kObjectName).toString();
    if (name.startsWith("eq:")) {
      const docs::Formula& f = FormulaOf(name.mid(3));
      return {f.width(), f.ascent() + f.descent()};
    }
    const QSizeF mm = docs::FigureSizeMm(FigureName(name));
    return mm * kDotsPerMm;
  }
  void drawObject(QPainter* p, const QRectF& rect, QTextDocument*, int, const QTextFormat& format) override {
    const QString name = format.property(kObjectName).toString();
    if (name.startsWith("eq:")) {
      const docs::Formula& f = FormulaOf(name.mid(3));
      f.draw(p, QPointF(rect.left(), rect.top() + f.ascent()));
      return;
    }
    docs::DrawFigure(p, FigureName(name), rect, kDotsPerMm, name.endsWith("/en"));
  }
  bool Known(const QString& name) {
    if (name.startsWith("eq:")) {
      const docs::Formula& f = FormulaOf(name.mid(3));
      if (!f.ok()) error = f.error();
      return f.ok();
    }
    return !docs::FigureSizeMm(FigureName(name)).isEmpty();
  }

 private:
  static QString FigureName(const QString& name) { return name.mid(4).section('/', 0, 0); }
  const docs::Formula& FormulaOf(const QString& source) {
    auto it = formulas_.find(source);
    if (it == formulas_.end())
      it = formulas_.emplace(source, std::make_unique<docs::Formula>(source, FormulaFont(), device_)).first;
    return *it->second;
  }
  QPaintDevice* device_;
  std::map<QString, std::unique_ptr<docs::Formula>> formulas_;
};

bool ReadUtf8(const QString& path, QString& text, QString& error) {
  QFile f(path);
  if (!f.open(QIODevice::ReadOnly)) {
    error = "cannot read " + path;
    return false;
  }
  text = QString::fromUtf8(f.readAll());
  return true;
}

bool WriteBytes(const QString& path, const QByteArray& bytes, QString& error) {
  QDir().mkpath(QFileInfo(path).absolutePath());
  QFile f(path);
  if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(bytes) != bytes.size()) {
    error = "cannot write " + path;
    return false;
  }
  return true;
}

// Replaces every image placeholder "fig:…" / "eq:…" by an object of the handler's type.
bool PlaceObjects(QTextDocument& doc, Objects& objects, QString& error) {
  struct Spot {
    int pos, length;
    QString name;
  };
  std::vector<Spot> spots;
  for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
    for (auto it = b.begin(); !it.atEnd(); ++it) {
      const QTextFragment frag = it.fragment();
      if (!frag.charFormat().isImageFormat()) continue;
      const QString name = frag.charFormat().toImageFormat().name();
      if (!objects.Known(name)) {
        error = "unknown object " + name + (objects.error.isEmpty() ? "" : ": " + objects.error);
        return false;
      }
      spots.push_back({frag.position(), frag.length(), name});
    }
  for (auto s = spots.rbegin(); s != spots.rend(); ++s) {
    QTextCursor c(&doc);
    c.setPosition(s->pos);
    c.setPosition(s->pos + s->length, QTextCursor::KeepAnchor);
    QTextCharFormat f;
    f.setObjectType(kObjectType);
    f.setProperty(kObjectName, s->name);
    c.insertText(QString(QChar::ObjectReplacementCharacter), f);
  }
  return true;
}

const char* const kStyle =
    "h1 { font-family: 'DejaVu Sans'; font-size: 17pt; font-weight: bold; color: #1f5e34; margin-bottom: 4px; }"
    "h2 { font-family: 'DejaVu Sans'; font-size: 12.5pt; font-weight: bold; color: #1f5e34; margin-top: 14px;"
    "     margin-bottom: 4px; }"
    "h3 { font-family: 'DejaVu Sans'; font-size: 10.5pt; font-weight: bold; margin-top: 10px; margin-bottom: 2px; }"
    "p { margin-top: 0px; margin-bottom: 6px; }"
    "p.sub { font-family: 'DejaVu Sans'; font-size: 10pt; color: #555555; margin-bottom: 12px; }"
    "p.eq { margin-top: 4px; margin-bottom: 8px; }"
    "p.fig { margin-top: 6px; margin-bottom: 2px; }"
    "p.cap { font-family: 'DejaVu Sans'; font-size: 8.5pt; color: #333333; margin-bottom: 10px; }"
    "td { padding: 2px 6px 2px 6px; }"
    "th { padding: 2px 6px 2px 6px; font-family: 'DejaVu Sans'; font-size: 9pt; background-color: #e8f5e9; }"
    "li { margin-bottom: 3px; }";

bool RenderPdf(const QString& html, const QString& out, QString& error) {
  QDir().mkpath(QFileInfo(out).absolutePath());
  QByteArray bytes;
  {
    QPdfWriter writer(out);
    writer.setResolution(kResolution);
    writer.setPageSize(QPageSize(QPageSize::A4));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator("Tolvek");

    QTextDocument doc;
    doc.documentLayout()->setPaintDevice(&writer);
    Objects objects(&writer);
    doc.documentLayout()->registerHandler(kObjectType, &objects);
    QFont base("DejaVu Serif");
    base.setPointSizeF(10.5);
    doc.setDefaultFont(base);
    doc.setDefaultStyleSheet(kStyle);
    doc.setDocumentMargin(0);
    doc.setHtml(html);
    const QString title = doc.metaInformation(QTextDocument::DocumentTitle);
    writer.setTitle(title);
    if (!PlaceObjects(doc, objects, error)) return false;

    const double w = (kPageW - kLeft - kRight) * kDotsPerMm, h = (kPageH - kTop - kBottom) * kDotsPerMm;
    doc.setPageSize(QSizeF(w, h));
    const int pages = doc.pageCount();
    QPainter p;
    if (!p.begin(&writer)) {
      error = "cannot write " + out;
      return false;
    }
    QFont foot("DejaVu Sans");
    foot.setPointSizeF(7.5);
    for (int i = 0; i < pages; ++i) {
      if (i > 0) writer.newPage();
      p.save();
      p.translate(kLeft * kDotsPerMm, kTop * kDotsPerMm - i * h);
      doc.drawContents(&p, QRectF(0, i * h, w, h));
      p.restore();
      const double y = (kPageH - kBottom + 9) * kDotsPerMm;
      p.setPen(QPen(QColor(90, 125, 90), 0.2 * kDotsPerMm));
      p.drawLine(QPointF(kLeft * kDotsPerMm, y - 4 * kDotsPerMm), QPointF((kPageW - kRight) * kDotsPerMm, y - 4 * kDotsPerMm));
      p.setPen(QColor(60, 60, 60));
      p.setFont(foot);
      p.drawText(QRectF(kLeft * kDotsPerMm, y - 3 * kDotsPerMm, w, 6 * kDotsPerMm), Qt::AlignLeft, "Tolvek · " + title);
      p.drawText(QRectF(kLeft * kDotsPerMm, y - 3 * kDotsPerMm, w, 6 * kDotsPerMm), Qt::AlignRight,
                 QString("%1 / %2").arg(i + 1).arg(pages));
    }
    p.end();
  }
  QFile f(out);
  if (!f.open(QIODevice::ReadOnly)) {
    error = "cannot read back " + out;
    return false;
  }
  bytes = f.readAll();
  f.close();
  // The writer stamps the time of the run; the release date takes its place (same length, so the
  // cross-reference offsets stay right).
  const QByteArray key = "/CreationDate (D:";
  const qsizetype at = bytes.indexOf(key);
  if (at >= 0) bytes.replace(at + key.size(), 15, kReleaseDate);
  return WriteBytes(out, bytes, error);
}

bool MakeManuals(const QString& root, const QString& outFolder, QString& error) {
  QString english;
  if (!ReadUtf8(root + "/data/AnleitungEN.htm", english, error)) return false;
  const QString begin = "<!-- title -->", end = "<!-- /title -->";
  const qsizetype a = english.indexOf(begin), b = english.indexOf(end);
  if (a < 0 || b < a) {
    error = "AnleitungEN.htm has no title block";
    return false;
  }
  for (const char* code : kManualLanguages) {
    QString title;
    if (!ReadUtf8(root + QString("/tools/docs/manual/title_%1.html").arg(code), title, error)) return false;
    QString text = english;
    text.replace(a, b - a, begin + "\n" + title.trimmed() + "\n");
    const QString lang = QString(code) == "CZ" ? "cs" : QString(code) == "SP" ? "es" : QString(code).toLower();
    text.replace("<html lang=\"en\">", "<html lang=\"" + lang + "\">");
    // The window title is the title page's heading.
    static const QRegularExpression heading("<h1>(.*)</h1>"), windowTitle("<title>.*</title>");
    const QRegularExpressionMatch h = heading.match(title);
    if (h.hasMatch()) text.replace(windowTitle, "<title>" + h.captured(1) + "</title>");
    if (!WriteBytes(outFolder + QString("/Anleitung%1.htm").arg(code), text.toUtf8(), error)) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QHashSeed::setDeterministicGlobalSeed();
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: make_docs SOURCE_ROOT PROGRAM_FOLDER\n");
    return 2;
  }
  const QString root = QString::fromLocal8Bit(argv[1]), out = QString::fromLocal8Bit(argv[2]);
  for (const char* font : kFonts) {
    const QString path = QString("/usr/share/fonts/truetype/") + font;
    if (QFontDatabase::addApplicationFont(path) < 0) {
      std::fprintf(stderr, "make_docs: font %s missing (Debian package fonts-dejavu-core)\n", qPrintable(path));
      return 1;
    }
  }
  QString error;
  for (const char* name : kTheoryDocuments) {
    QString html;
    if (!ReadUtf8(root + QString("/tools/docs/theory/%1.html").arg(name), html, error) ||
        !RenderPdf(html, out + QString("/Vorgaben/%1.PDF").arg(name), error)) {
      std::fprintf(stderr, "make_docs: %s\n", qPrintable(error));
      return 1;
    }
  }
  if (!MakeManuals(root, out, error)) {
    std::fprintf(stderr, "make_docs: %s\n", qPrintable(error));
    return 1;
  }
  std::printf("7 theory documents and %d manuals written to %s\n",
              static_cast<int>(std::size(kManualLanguages)), qPrintable(out));
  return 0;
}

#include "make_docs.moc"
