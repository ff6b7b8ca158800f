#include "tools/docs/formula.h"

#include <QFontMetricsF>
#include <QHash>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace docs {

using Box = Formula::Box;
using Op = Formula::Op;

void Box::Put(const Box& b, qreal dx, qreal dy) {
  for (Op op : b.ops) {
    op.a += QPointF(dx, dy);
    op.b += QPointF(dx, dy);
    op.path.translate(dx, dy);
    ops.push_back(std::move(op));
  }
}

namespace {

const QHash<QString, QString>& Symbols() {
  static const QHash<QString, QString> s = {
      {"alpha", "α"}, {"beta", "β"},   {"gamma", "γ"}, {"delta", "δ"},  {"epsilon", "ε"}, {"theta", "θ"},
      {"lambda", "λ"}, {"mu", "μ"},    {"pi", "π"},    {"rho", "ρ"},    {"sigma", "σ"},   {"phi", "φ"},
      {"Delta", "Δ"}, {"Sigma", "Σ"}, {"Pi", "Π"},    {"pm", "±"},     {"le", "≤"},      {"ge", "≥"},
      {"approx", "≈"}, {"ne", "≠"},   {"cdot", "·"},  {"times", "×"},  {"lt", "<"},      {"gt", ">"},
      {"infty", "∞"}, {"to", "→"},    {"in", "∈"},    {"ldots", "…"},  {"prime", "′"},   {"%", "%"}, {"ast", "∗"},
      {"{", "{"},     {"}", "}"},     {"|", "‖"},
  };
  return s;
}
const QStringList& Functions() {
  static const QStringList f = {"sin", "cos", "tan", "arctan", "arccos", "arcsin", "ln", "exp", "min", "max", "E", "Var"};
  return f;
}
bool IsRelation(const QString& t) { return QStringLiteral("=≤≥≈≠<>→∈").contains(t); }
bool IsBinary(const QString& t) { return QStringLiteral("+−±×·").contains(t); }

class Layout {
 public:
  Layout(const QString& src, const QFont& base, QPaintDevice* device) : s_(src), base_(base), dev_(device) {}

  Box Run(QString& error) {
    Box b = Expression(0, false, QChar());
    if (pos_ < s_.size()) error = QString("unexpected '%1' at %2 in %3").arg(s_[pos_]).arg(pos_).arg(s_);
    if (!error_.isEmpty()) error = error_;
    return b;
  }

 private:
  QString s_;
  int pos_ = 0;
  QFont base_;
  QPaintDevice* dev_;
  QString error_;

  QFont FontAt(int level, bool italic) const {
    QFont f = base_;
    static const qreal kScale[] = {1.0, 0.72, 0.58};
    f.setPointSizeF(base_.pointSizeF() * kScale[std::min(level, 2)]);
    f.setItalic(italic);
    return f;
  }
  qreal Em(int level) const { return QFontMetricsF(FontAt(level, false), dev_).height() * 0.85; }
  qreal Axis(int level) const { return QFontMetricsF(FontAt(level, false), dev_).strikeOutPos(); }
  qreal Rule(int level) const { return std::max<qreal>(QFontMetricsF(FontAt(level, false), dev_).lineWidth(), 1.0); }

  Box TextBox(const QString& t, int level, bool italic) const {
    const QFont f = FontAt(level, italic);
    QFontMetricsF m(f, dev_);
    Box b;
    b.w = m.horizontalAdvance(t);
    // Italic letters lean over their advance: a little room keeps them off the next glyph.
    if (italic) b.w += m.averageCharWidth() * 0.08;
    b.asc = m.ascent() * 0.82;
    b.desc = m.descent() * 0.6;
    Op op;
    op.kind = Op::kText;
    op.text = t;
    op.font = f;
    b.ops.push_back(op);
    return b;
  }
  static void Append(Box& into, const Box& b, qreal gap = 0) {
    into.Put(b, into.w + gap, 0);
    into.w += gap + b.w;
    into.asc = std::max(into.asc, b.asc);
    into.desc = std::max(into.desc, b.desc);
  }
  static void Space(Box& into, qreal w) { into.w += w; }

  bool At(QChar c) const { return pos_ < s_.size() && s_[pos_] == c; }
  void SkipBlanks() {
    while (pos_ < s_.size() && s_[pos_].isSpace()) ++pos_;
  }
  QString Command() {
    // after the backslash: letters, or one other character
    int start = pos_;
    if (pos_ < s_.size() && !s_[pos_].isLetter()) return QString(s_[pos_++]);
    while (pos_ < s_.size() && s_[pos_].isLetter()) ++pos_;
    return s_.mid(start, pos_ - start);
  }
  QString RawGroup() {
    SkipBlanks();
    if (!At('{')) {
      error_ = "expected { at " + QString::number(pos_) + " in " + s_;
      return {};
    }
    int depth = 0, start = ++pos_;
    while (pos_ < s_.size()) {
      if (s_[pos_] == '{') ++depth;
      if (s_[pos_] == '}' && depth-- == 0) break;
      ++pos_;
    }
    QString t = s_.mid(start, pos_ - start);
    if (At('}')) ++pos_;
    return t;
  }
  Box Group(int level, bool inFrac) {
    SkipBlanks();
    if (At('{')) {
      ++pos_;
      Box b = Expression(level, inFrac, '}');
      if (At('}')) ++pos_;
      else error_ = "missing } in " + s_;
      return b;
    }
    QString dummyKind;
    Box b;
    Atom(level, inFrac, b, dummyKind);
    return b;
  }

  // One atom without its scripts; kind tells the spacing class: "ord", "rel", "bin", "open", "big".
  bool Atom(int level, bool inFrac, Box& out, QString& kind) {
    SkipBlanks();
    if (pos_ >= s_.size()) return false;
    const QChar c = s_[pos_];
    kind = "ord";
    if (c == '{') {
      out = Group(level, inFrac);
      return true;
    }
    if (c == '\\') {
      ++pos_;
      const QString cmd = Command();
      if (cmd == "frac") {
        // a fraction within a fraction is set smaller
        const int inner = inFrac ? level + 1 : level;
        Box num = Group(inner, true), den = Group(inner, true);
        const qreal gap = Rule(level) * 2.2, axis = Axis(level), pad = Em(level) * 0.12;
        out = Box{};
        out.w = std::max(num.w, den.w) + 2 * pad;
        out.Put(num, (out.w - num.w) / 2, -axis - gap - num.desc);
        out.Put(den, (out.w - den.w) / 2, -axis + gap + den.asc);
        Op bar;
        bar.kind = Op::kLine;
        bar.a = QPointF(0, -axis);
        bar.b = QPointF(out.w, -axis);
        bar.pen = Rule(level);
        out.ops.push_back(bar);
        out.asc = axis + gap + num.desc + num.asc;
        out.desc = -axis + gap + den.asc + den.desc;
        return true;
      }
      if (cmd == "sqrt") {
        Box in = Group(level, inFrac);
        const qreal em = Em(level), gap = Rule(level) * 2.5, lw = Rule(level);
        const qreal top = in.asc + gap, bottom = in.desc;
        const qreal sign = em * 0.55;
        out = Box{};
        out.w = sign + in.w + em * 0.08;
        out.Put(in, sign, 0);
        QPainterPath path;
        path.moveTo(0, -em * 0.28);
        path.lineTo(sign * 0.25, -em * 0.36);
        path.lineTo(sign * 0.55, bottom);
        path.lineTo(sign * 0.95, -top);
        path.lineTo(out.w, -top);
        Op op;
        op.kind = Op::kPath;
        op.path = path;
        op.pen = lw;
        out.ops.push_back(op);
        out.asc = top + lw;
        out.desc = bottom + lw;
        return true;
      }
      if (cmd == "bar" || cmd == "hat" || cmd == "overline") {
        Box in = Group(level, inFrac);
        const qreal em = Em(level), lw = Rule(level);
        out = in;
        const qreal y = -in.asc - em * 0.12;
        Op op;
        op.pen = lw;
        if (cmd == "hat") {
          op.kind = Op::kPath;
          QPainterPath p;
          const qreal mid = in.w * 0.55, half = std::min(em * 0.22, in.w * 0.45);
          p.moveTo(mid - half, y);
          p.lineTo(mid, y - em * 0.16);
          p.lineTo(mid + half, y);
          op.path = p;
          out.asc = in.asc + em * 0.3;
        } else {
          op.kind = Op::kLine;
          op.a = QPointF(in.w * 0.1, y);
          op.b = QPointF(in.w * 0.95, y);
          out.asc = in.asc + em * 0.18;
        }
        out.ops.push_back(op);
        return true;
      }
      if (cmd == "text") {
        out = TextBox(RawGroup(), level, false);
        return true;
      }
      if (cmd == "left") {
        SkipBlanks();
        const QChar open = pos_ < s_.size() ? s_[pos_++] : QChar('.');
        Box in = Expression(level, inFrac, QChar(), true);
        QChar close('.');
        if (pos_ < s_.size()) close = s_[pos_++];
        out = Fenced(in, open, close, level);
        return true;
      }
      if (cmd == "sum") {
        out = TextBox("∑", level, false);
        QFont big = FontAt(level, false);
        big.setPointSizeF(big.pointSizeF() * (level == 0 ? 1.8 : 1.3));
        QFontMetricsF m(big, dev_);
        const QRectF glyph = m.tightBoundingRect("∑");
        // centred on the axis of the fraction bars
        const qreal dy = -Axis(level) - glyph.center().y();
        out.ops[0].font = big;
        out.ops[0].a = QPointF(-glyph.left(), dy);
        out.w = glyph.width() + Em(level) * 0.05;
        out.asc = -(glyph.top() + dy);
        out.desc = glyph.bottom() + dy;
        kind = "big";
        return true;
      }
      if (cmd == "," || cmd == ";" || cmd == "quad" || cmd == "qquad" || cmd == " ") {
        out = Box{};
        out.w = Em(level) * (cmd == "," ? 0.17 : cmd == ";" ? 0.28 : cmd == " " ? 0.25 : cmd == "quad" ? 1.0 : 2.0);
        return true;
      }
      if (Functions().contains(cmd)) {
        out = TextBox(cmd, level, false);
        kind = "fn";
        return true;
      }
      if (Symbols().contains(cmd)) {
        const QString t = Symbols().value(cmd);
        const bool greekLower = t.size() == 1 && t[0] >= QChar(0x3B1) && t[0] <= QChar(0x3C9);
        out = TextBox(t, level, greekLower);
        if (IsRelation(t)) kind = "rel";
        else if (IsBinary(t)) kind = "bin";
        return true;
      }
      error_ = "unknown command \\" + cmd + " in " + s_;
      return true;
    }
    ++pos_;
    if (c.isLetter()) {
      out = TextBox(QString(c), level, true);
      return true;
    }
    if (c.isDigit() || c == '.') {
      QString t(c);
      while (pos_ < s_.size() && (s_[pos_].isDigit() || (s_[pos_] == '.' && pos_ + 1 < s_.size() && s_[pos_ + 1].isDigit())))
        t += s_[pos_++];
      out = TextBox(t, level, false);
      return true;
    }
    QString t(c);
    if (c == '-') t = QString(QChar(0x2212));
    if (c == '*') t = "·";
    out = TextBox(t, level, false);
    if (IsRelation(t)) kind = "rel";
    else if (IsBinary(t)) kind = "bin";
    else if (c == '(' || c == '[') kind = "open";
    return true;
  }

  Box Fenced(const Box& in, QChar open, QChar close, int level) {
    const qreal em = Em(level), lw = Rule(level) * 1.1;
    const qreal h = std::max(in.asc + in.desc, em * 0.9);
    const qreal top = -std::max(in.asc, em * 0.7) - em * 0.06, bottom = std::max(in.desc, em * 0.2) + em * 0.06;
    const qreal dw = std::min(em * 0.38, em * 0.22 + h * 0.06);
    Box out;
    auto delim = [&](QChar d, qreal x, bool left) {
      if (d == '.') return qreal(0);
      Op op;
      op.kind = Op::kPath;
      op.pen = lw;
      QPainterPath p;
      const qreal inner = left ? x + dw : x, outer = left ? x + dw * 0.3 : x + dw * 0.7;
      if (d == '(' || d == ')') {
        p.moveTo(inner, top);
        p.quadTo(outer - (left ? dw * 0.3 : -dw * 0.3), (top + bottom) / 2, inner, bottom);
      } else if (d == '[' || d == ']') {
        p.moveTo(inner, top);
        p.lineTo(outer, top);
        p.lineTo(outer, bottom);
        p.lineTo(inner, bottom);
      } else {
        p.moveTo(x + dw * 0.5, top);
        p.lineTo(x + dw * 0.5, bottom);
      }
      op.path = p;
      out.ops.push_back(op);
      return dw + em * 0.06;
    };
    qreal x = delim(open, 0, true);
    out.Put(in, x, 0);
    x += in.w;
    x += em * 0.04;
    x += delim(close, x, false);
    out.w = x;
    out.asc = -top + lw;
    out.desc = bottom + lw;
    return out;
  }

  // A sequence of atoms with their scripts, up to the closing character (or \right when inFence).
  Box Expression(int level, bool inFrac, QChar closing, bool inFence = false) {
    Box out;
    QString prev = "start";
    while (true) {
      SkipBlanks();
      if (pos_ >= s_.size()) break;
      if (!closing.isNull() && s_[pos_] == closing) break;
      if (inFence && s_.mid(pos_, 6) == "\\right") {
        pos_ += 6;
        SkipBlanks();
        break;
      }
      Box atom;
      QString kind;
      if (!Atom(level, inFrac, atom, kind)) break;
      if (!error_.isEmpty()) return out;
      Scripts(atom, kind, level, inFrac);
      // TeX's spacing: relations get a thick space, binary operators a medium one, except where a
      // sign stands first or after another operator, and not in scripts.
      const qreal em = Em(level);
      qreal gap = 0;
      if (level == 0) {
        if (kind == "rel") gap = em * 0.28;
        else if (kind == "bin" && prev != "start" && prev != "rel" && prev != "bin" && prev != "open") gap = em * 0.22;
        else if (prev == "rel") gap = em * 0.28;
        else if (prev == "bin" && kind != "bin") gap = out.ops.empty() ? 0 : em * 0.22;
        else if (prev == "big" || prev == "fn") gap = em * 0.2;
        else if (kind == "fn" && prev != "open") gap = em * 0.17;
        if (prev == "start") gap = 0;
      }
      if (kind == "bin" && (prev == "start" || prev == "rel" || prev == "open")) kind = "ord";  // a sign
      Append(out, atom, gap);
      prev = kind;
    }
    return out;
  }

  void Scripts(Box& base, const QString& kind, int level, bool inFrac) {
    Box sub, sup;
    bool hasSub = false, hasSup = false;
    for (int i = 0; i < 2; ++i) {
      SkipBlanks();
      if (At('_') && !hasSub) {
        ++pos_;
        sub = Group(level + 1, inFrac);
        hasSub = true;
      } else if (At('^') && !hasSup) {
        ++pos_;
        sup = Group(level + 1, inFrac);
        hasSup = true;
      }
    }
    if (!hasSub && !hasSup) return;
    const qreal em = Em(level);
    if (kind == "big" && level == 0) {
      // limits above and below the sign
      Box out;
      out.w = std::max({base.w, sub.w, sup.w});
      out.Put(base, (out.w - base.w) / 2, 0);
      out.asc = base.asc;
      out.desc = base.desc;
      if (hasSup) {
        out.Put(sup, (out.w - sup.w) / 2, -base.asc - em * 0.12 - sup.desc);
        out.asc = base.asc + em * 0.12 + sup.desc + sup.asc;
      }
      if (hasSub) {
        out.Put(sub, (out.w - sub.w) / 2, base.desc + em * 0.12 + sub.asc);
        out.desc = base.desc + em * 0.12 + sub.asc + sub.desc;
      }
      base = out;
      return;
    }
    Box out = base;
    const qreal x = base.w + em * 0.03;
    qreal w = 0;
    if (hasSup) {
      const qreal rise = std::max(em * 0.42, base.asc - sup.asc * 0.5);
      out.Put(sup, x, -rise);
      out.asc = std::max(out.asc, rise + sup.asc);
      w = std::max(w, sup.w);
    }
    if (hasSub) {
      const qreal drop = std::max(em * 0.2, base.desc + sub.asc * 0.35);
      out.Put(sub, x, drop);
      out.desc = std::max(out.desc, drop + sub.desc);
      w = std::max(w, sub.w);
    }
    out.w = x + w;
    base = out;
  }
};

}  // namespace

Formula::Formula(const QString& source, const QFont& base, QPaintDevice* device) {
  Layout layout(source, base, device);
  box_ = layout.Run(error_);
}

void Formula::draw(QPainter* p, QPointF origin) const {
  p->save();
  for (const Op& op : box_.ops) {
    switch (op.kind) {
      case Op::kText:
        p->setFont(op.font);
        p->setPen(Qt::black);
        p->drawText(origin + op.a, op.text);
        break;
      case Op::kLine:
        p->setPen(QPen(Qt::black, op.pen, Qt::SolidLine, Qt::FlatCap));
        p->drawLine(origin + op.a, origin + op.b);
        break;
      case Op::kPath: {
        p->setPen(QPen(Qt::black, op.pen, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p->setBrush(Qt::NoBrush);
        p->drawPath(op.path.translated(origin));
        break;
      }
    }
  }
  p->restore();
}

}  // namespace docs
