// Stand photographs rendered from the stand's own trees, the catalogue overview map, and the JPEG and
// BMP writers for them.
#include "tools/makestands/pictures.h"

#include <jpeglib.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "common/format.h"
#include "common/rounding.h"
#include "simulator/stand/stand_choice.h"
#include "tools/makestands/font_glyphs.h"
#include "tools/makestands/noise.h"

namespace tolvek::makestands {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kThumbSize = 75;

std::uint8_t Clamp8(double v) { return static_cast<std::uint8_t>(std::clamp(RoundInt(v), 0, 255)); }

Rgb Mix(Rgb a, Rgb b, double t) {
  return {Clamp8(a.r + (b.r - a.r) * t), Clamp8(a.g + (b.g - a.g) * t), Clamp8(a.b + (b.b - a.b) * t)};
}

Rgb Scale(Rgb a, double f) { return {Clamp8(a.r * f), Clamp8(a.g * f), Clamp8(a.b * f)}; }

const Glyph* FindGlyph(char32_t code, bool heading) {
  const Glyph* begin = heading ? std::begin(kHeadingFont) : std::begin(kSmallFont);
  const Glyph* end = heading ? std::end(kHeadingFont) : std::end(kSmallFont);
  for (const Glyph* g = begin; g != end; ++g)
    if (g->code == code) return g;
  return nullptr;
}

std::vector<char32_t> Decode(const std::string& s) {
  std::vector<char32_t> out;
  for (std::size_t i = 0; i < s.size();) {
    const unsigned char c = static_cast<unsigned char>(s[i]);
    if (c < 0x80) {
      out.push_back(c);
      i += 1;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < s.size()) {
      out.push_back(((c & 0x1F) << 6) | (static_cast<unsigned char>(s[i + 1]) & 0x3F));
      i += 2;
    } else {
      out.push_back('?');
      i += 1;
    }
  }
  return out;
}

// Species colours of the stand map (conifer-first list), as red, green, blue.
Rgb MapColour(int species) {
  static const std::uint32_t bgr[10] = {0x808080, 0xC0C0C0, 0x0000FF, 0xB090FF, 0xFF00FF,
                                        0x00FF00, 0x00B000, 0xFF8080, 0xFF0000, 0xFFFF00};
  const std::uint32_t v = species >= 0 && species <= 9 ? bgr[species] : 0x008000;
  return {static_cast<std::uint8_t>(v & 0xFF), static_cast<std::uint8_t>((v >> 8) & 0xFF),
          static_cast<std::uint8_t>((v >> 16) & 0xFF)};
}

struct SpeciesLook {
  double maxHeight;
  double crownBase;    // share of the height without crown
  double crownRadius;  // m at 0 cm, plus crownSlope per cm
  double crownSlope;
  int shape;  // 0 cone, 1 umbrella, 2 broad
  Rgb bark;
  Rgb summer;
  Rgb autumn;
};

const SpeciesLook& Look(int species) {
  static const SpeciesLook looks[10] = {
      {30, 0.4, 1.0, 0.05, 2, {120, 110, 100}, {80, 120, 60}, {150, 120, 60}},
      {38, 0.35, 0.6, 0.045, 0, {115, 88, 72}, {34, 66, 40}, {34, 66, 40}},        // Fichte
      {36, 0.40, 0.7, 0.047, 0, {142, 140, 134}, {30, 72, 50}, {30, 72, 50}},      // Tanne
      {30, 0.65, 0.8, 0.05, 1, {178, 104, 62}, {64, 96, 56}, {64, 96, 56}},        // Kiefer
      {44, 0.40, 0.7, 0.05, 0, {92, 68, 54}, {46, 84, 54}, {46, 84, 54}},          // Douglasie
      {36, 0.45, 1.0, 0.09, 2, {168, 168, 160}, {92, 142, 58}, {196, 122, 42}},    // Buche
      {32, 0.50, 1.2, 0.09, 2, {88, 82, 72}, {82, 122, 50}, {150, 120, 52}},       // Eiche
      {34, 0.55, 1.0, 0.08, 2, {132, 132, 122}, {112, 152, 72}, {170, 170, 80}},   // Esche
      {32, 0.50, 1.0, 0.085, 2, {126, 116, 100}, {100, 150, 60}, {214, 164, 44}},  // Ahorn
      {24, 0.40, 0.9, 0.08, 2, {140, 140, 130}, {96, 140, 66}, {180, 140, 60}},    // s.Laubb
  };
  return looks[species >= 0 && species <= 9 ? species : 0];
}

struct Camera {
  double x, y, dx, dy;
};

Camera ChooseCamera(const MadeStand& stand, const PhotoView& view) {
  double cx = 0, cy = 0;
  for (const Tree& t : stand.trees) cx += t.x, cy += t.y;
  if (!stand.trees.empty()) cx /= stand.trees.size(), cy /= stand.trees.size();
  RandomGenerator r(view.seed);
  const auto& ring = stand.boundary;
  Camera cam{cx, cy, 0, 1};
  if (view.kind == 0) {
    std::size_t best = 0;
    double bestLen = -1;
    for (std::size_t i = 0; i + 1 < ring.size(); ++i) {
      const double len = std::hypot(ring[i + 1].x - ring[i].x, ring[i + 1].y - ring[i].y);
      if (len > bestLen) bestLen = len, best = i;
    }
    const double mx = (ring[best].x + ring[best + 1].x) / 2, my = (ring[best].y + ring[best + 1].y) / 2;
    const double d = std::hypot(cx - mx, cy - my);
    cam.x = mx + (cx - mx) / d * 6.0;
    cam.y = my + (cy - my) / d * 6.0;
  } else if (view.kind == 1) {
    for (int k = 0; k < 50; ++k) {
      const double x = cx + (r.NextReal() - 0.5) * 40, y = cy + (r.NextReal() - 0.5) * 40;
      if (InsideRing(ring, x, y)) {
        cam.x = x, cam.y = y;
        break;
      }
    }
  } else {
    const std::size_t i = r.Next(static_cast<int>(ring.size() - 1));
    const double d = std::hypot(cx - ring[i].x, cy - ring[i].y);
    cam.x = ring[i].x + (cx - ring[i].x) / d * 10.0;
    cam.y = ring[i].y + (cy - ring[i].y) / d * 10.0;
  }
  double a = std::atan2(cy - cam.y, cx - cam.x);
  if (view.kind == 1) a = 2 * kPi * r.NextReal();
  a += view.turn;
  cam.dx = std::cos(a);
  cam.dy = std::sin(a);
  return cam;
}

}  // namespace

Picture::Picture(int w, int h, Rgb fill) : width(w), height(h), rgb(static_cast<std::size_t>(w) * h * 3) {
  for (std::size_t i = 0; i < rgb.size(); i += 3) rgb[i] = fill.r, rgb[i + 1] = fill.g, rgb[i + 2] = fill.b;
}

Rgb Picture::Get(int x, int y) const {
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  return {rgb[i], rgb[i + 1], rgb[i + 2]};
}

void Picture::Set(int x, int y, Rgb c) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
  rgb[i] = c.r, rgb[i + 1] = c.g, rgb[i + 2] = c.b;
}

void Picture::Blend(int x, int y, Rgb c, double alpha) {
  if (x < 0 || y < 0 || x >= width || y >= height) return;
  Set(x, y, Mix(Get(x, y), c, alpha));
}

void Picture::FillRect(int x0, int y0, int x1, int y1, Rgb c) {
  for (int y = std::max(0, y0); y < std::min(height, y1); ++y)
    for (int x = std::max(0, x0); x < std::min(width, x1); ++x) Set(x, y, c);
}

void Picture::Line(int x0, int y0, int x1, int y1, Rgb c) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) err += dy, x0 += sx;
    if (e2 <= dx) err += dx, y0 += sy;
  }
}

int Picture::Text(int x, int y, const std::string& utf8, Rgb c, bool heading, int clipX0, int clipX1) {
  int pen = x;
  for (char32_t code : Decode(utf8)) {
    if (code == ' ') {
      pen += heading ? 4 : 3;
      continue;
    }
    const Glyph* g = FindGlyph(code, heading);
    if (!g) g = FindGlyph('?', heading);
    for (int gy = 0; gy < g->height; ++gy)
      for (int gx = 0; gx < g->width; ++gx) {
        const int a = g->alpha[gy * g->width + gx];
        const int px = pen + gx;
        if (a > 0 && px >= clipX0 && px < clipX1) Blend(px, y + gy, c, a / 255.0);
      }
    pen += g->width;
  }
  return pen - x;
}

int Picture::TextWidth(const std::string& utf8, bool heading) {
  int w = 0;
  for (char32_t code : Decode(utf8)) {
    if (code == ' ') {
      w += heading ? 4 : 3;
      continue;
    }
    const Glyph* g = FindGlyph(code, heading);
    if (!g) g = FindGlyph('?', heading);
    w += g->width;
  }
  return w;
}

Picture RenderPhoto(const MadeStand& stand, const PhotoView& view, int width, int height) {
  Picture pic(width, height);
  const Camera cam = ChooseCamera(stand, view);
  const double f = (width / 2.0) / std::tan(36.0 * kPi / 180.0);
  const double horizon = height * 0.56;
  const double eye = 1.7;
  const std::uint32_t seed = view.seed;

  const Rgb skyTop = view.season == 2 ? Rgb{170, 190, 210} : Rgb{150, 180, 215};
  const Rgb skyLow = {222, 228, 226};
  const Rgb fog = view.season == 1 ? Rgb{186, 178, 160} : Rgb{160, 178, 168};
  const Rgb groundFar = view.season == 1 ? Rgb{138, 110, 78} : view.season == 2 ? Rgb{120, 104, 80} : Rgb{104, 112, 66};
  const Rgb groundNear = view.season == 1 ? Rgb{112, 78, 50} : view.season == 2 ? Rgb{96, 74, 52} : Rgb{70, 82, 42};

  // Sky, the far wall of the forest, the ground.
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) {
      Rgb c;
      if (y < horizon) {
        c = Mix(skyTop, skyLow, y / horizon);
        const double wall = horizon - 70 - 25 * SmoothNoise(x / 18.0, 0.5, seed + 7);
        if (y > wall) {
          const double shade = 0.55 + 0.25 * SmoothNoise(x / 4.0, y / 9.0, seed + 9);
          c = Mix(Scale(Rgb{70, 90, 70}, shade), fog, 0.55);
        }
      } else {
        const double t = (y - horizon) / (height - horizon);
        c = Mix(groundFar, groundNear, std::pow(t, 0.7));
        const double n = SmoothNoise(x / (3.0 + 20 * t), y / (1.5 + 6 * t), seed + 3);
        c = Scale(c, 0.8 + 0.4 * n);
        const double fleck = SmoothNoise(x / (6.0 + 30 * t), y / (2.0 + 8 * t), seed + 5);
        if (fleck > 0.7) c = Mix(c, Rgb{196, 190, 120}, std::min(0.22, (fleck - 0.7) * 1.5));  // sun flecks
      }
      pic.Set(x, y, c);
    }

  struct Seen {
    double z, u;
    const Tree* t;
  };
  std::vector<Seen> seen;
  const double rx = cam.dy, ry = -cam.dx;
  for (const Tree& t : stand.trees) {
    const double dx = t.x - cam.x, dy = t.y - cam.y;
    const double z = dx * cam.dx + dy * cam.dy;
    const double u = dx * rx + dy * ry;
    if (z < 1.2 || z > 140) continue;
    if (std::fabs(u) > z * (width / 2.0) / f + 8) continue;
    seen.push_back({z, u, &t});
  }
  std::stable_sort(seen.begin(), seen.end(), [](const Seen& a, const Seen& b) { return a.z > b.z; });

  for (const Seen& s : seen) {
    const Tree& t = *s.t;
    const SpeciesLook& look = Look(t.species);
    const double treeHash = Hash(static_cast<std::uint32_t>(t.x * 10), static_cast<std::uint32_t>(t.y * 10), seed);
    const double h = 1.3 + look.maxHeight * std::pow(1.0 - std::exp(-0.045 * t.dbh), 1.2) * (0.9 + 0.2 * treeHash);
    const double fogT = 0.85 * (1.0 - std::exp(-s.z / 60.0));
    const double sx = width / 2.0 + f * s.u / s.z;
    const double ground = horizon + f * eye / s.z;
    const double top = horizon - f * (h - eye) / s.z;
    const double base = horizon - f * (h * look.crownBase - eye) / s.z;
    const double half = std::max(0.5, f * t.dbh / 200.0 / s.z);
    const double crown = f * (look.crownRadius + look.crownSlope * t.dbh) / s.z;
    const Rgb leaf = view.season == 1 ? look.autumn : look.summer;

    // Stem, lit from the left.
    const int x0 = static_cast<int>(std::floor(sx - half)), x1 = static_cast<int>(std::ceil(sx + half));
    for (int x = x0; x <= x1; ++x) {
      const double tpos = (x + 0.5 - (sx - half)) / (2 * half);
      const double cover = std::clamp(std::min(x + 1 - (sx - half), sx + half - x), 0.0, 1.0);
      if (cover <= 0) continue;
      const double light = 0.65 + 0.55 * std::exp(-std::pow((tpos - 0.35) * 2.6, 2));
      for (int y = std::max(0, static_cast<int>(top)); y < std::min(height, static_cast<int>(ground) + 1); ++y) {
        const double bark = 0.88 + 0.24 * SmoothNoise(x * 1.7, y / 9.0, seed + t.species);
        Rgb colour = look.bark;
        if (t.species == 3) {
          // Pine: grey-brown scaly bark below, the orange mirror bark higher up.
          const double up = std::clamp(((ground - y) / std::max(1.0, ground - top) - 0.3) / 0.3, 0.0, 1.0);
          colour = Mix(Rgb{108, 92, 80}, look.bark, up);
        }
        pic.Blend(x, y, Mix(Scale(colour, light * bark), fog, fogT), cover);
      }
    }

    // Crown.
    const int yTop = static_cast<int>(std::floor(top)), yBase = static_cast<int>(std::ceil(base));
    const double crownHeight = std::max(1.0, base - top);
    const std::uint32_t leafSeed = seed + static_cast<std::uint32_t>(treeHash * 1e6);
    for (int y = std::max(0, yTop); y <= std::min(height - 1, yBase); ++y) {
      const double v = (y - top) / crownHeight;  // 0 at the top, 1 at the crown base
      double w = 0.0;
      double cyShift = 0.0;
      if (look.shape == 0) {
        w = crown * v * (0.75 + 0.45 * SmoothNoise(y / std::max(1.5, crown * 0.25), 0.3, leafSeed));
      } else if (look.shape == 1) {
        if (v > 0.55) continue;
        const double e = (v - 0.25) / 0.3;
        w = crown * std::sqrt(std::max(0.0, 1 - e * e)) * (0.8 + 0.3 * SmoothNoise(y / 3.0, 0.7, leafSeed));
      } else {
        const double e = (v - 0.5) / 0.5;
        w = crown * std::sqrt(std::max(0.0, 1 - e * e)) *
            (0.8 + 0.35 * SmoothNoise(y / std::max(2.0, crown * 0.3), 0.1, leafSeed));
        cyShift = crown * 0.15 * (SmoothNoise(y / 6.0, 3.3, leafSeed) - 0.5);
      }
      if (w < 0.5) continue;
      for (int x = static_cast<int>(sx + cyShift - w); x <= static_cast<int>(sx + cyShift + w); ++x) {
        const double n = SmoothNoise(x / std::max(1.2, crown * 0.12), y / std::max(1.2, crown * 0.12), leafSeed + 11);
        if (look.shape == 2 && n < 0.22) continue;  // holes in broadleaf crowns
        const double lightSide = 1.0 + 0.25 * ((sx - x) / std::max(1.0, w));
        const Rgb c = Scale(leaf, (0.7 + 0.5 * n) * std::clamp(lightSide, 0.75, 1.25) * (0.85 + 0.3 * (1 - v)));
        pic.Blend(x, y, Mix(c, fog, fogT), 0.96);
      }
    }
  }
  return pic;
}

std::string EncodeJpeg(const Picture& picture, int quality, bool progressive) {
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  unsigned char* buffer = nullptr;
  unsigned long size = 0;
  jpeg_mem_dest(&cinfo, &buffer, &size);
  cinfo.image_width = static_cast<JDIMENSION>(picture.width);
  cinfo.image_height = static_cast<JDIMENSION>(picture.height);
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  cinfo.dct_method = JDCT_ISLOW;
  jpeg_set_quality(&cinfo, quality, TRUE);
  if (progressive) jpeg_simple_progression(&cinfo);
  jpeg_start_compress(&cinfo, TRUE);
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row =
        const_cast<JSAMPROW>(&picture.rgb[static_cast<std::size_t>(cinfo.next_scanline) * picture.width * 3]);
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  std::string out(reinterpret_cast<const char*>(buffer), size);
  jpeg_destroy_compress(&cinfo);
  std::free(buffer);
  return out;
}

std::string EncodeBmp(const Picture& picture) {
  const int rowBytes = (picture.width * 3 + 3) / 4 * 4;
  const std::uint32_t pixelBytes = static_cast<std::uint32_t>(rowBytes) * picture.height;
  const std::uint32_t fileSize = 14 + 40 + pixelBytes;
  std::string out;
  auto u16 = [&](std::uint32_t v) { out += static_cast<char>(v & 0xFF), out += static_cast<char>((v >> 8) & 0xFF); };
  auto u32 = [&](std::uint32_t v) { u16(v & 0xFFFF), u16(v >> 16); };
  out += "BM";
  u32(fileSize);
  u32(0);
  u32(14 + 40);
  u32(40);
  u32(static_cast<std::uint32_t>(picture.width));
  u32(static_cast<std::uint32_t>(picture.height));  // positive: rows bottom-up
  u16(1);
  u16(24);
  u32(0);  // no compression
  u32(pixelBytes);
  u32(2835);  // 72 dpi
  u32(2835);
  u32(0);
  u32(0);
  for (int y = picture.height - 1; y >= 0; --y) {
    for (int x = 0; x < picture.width; ++x) {
      const Rgb c = picture.Get(x, y);
      out += static_cast<char>(c.b), out += static_cast<char>(c.g), out += static_cast<char>(c.r);
    }
    for (int p = picture.width * 3; p < rowBytes; ++p) out += '\0';
  }
  return out;
}

Picture RenderOverview(const std::vector<MadeStand>& stands) {
  const Rgb paper{232, 228, 212};
  const Rgb frame{150, 140, 110};
  StandCatalogue catalogue;
  for (const MadeStand& s : stands) {
    StandCatalogueEntry e;
    e.kind = s.plan.kind;
    e.mixture = s.plan.mixture;
    e.timberSize = s.plan.size;
    catalogue.entries.push_back(e);
  }
  const CatalogueLayout layout = LayOutCatalogue(catalogue);
  Picture pic(layout.width, layout.height, paper);
  for (int y = 0; y < pic.height; ++y)
    for (int x = 0; x < pic.width; ++x) pic.Set(x, y, Scale(paper, 1.02 - 0.06 * y / pic.height));

  // A panel behind each group of thumbnails: the six cells of kind and timber size, the generated
  // stands and the selection forests.
  auto groupOf = [](const StandPlan& p) {
    if (p.mixture == 'G') return 6;
    if (p.mixture == 'P') return 7;
    return (p.kind == 'L' ? 3 : 0) + (p.size == 'W' ? 0 : p.size == 'M' ? 1 : 2);
  };
  for (int g = 0; g < 8; ++g) {
    int x0 = 1 << 30, y0 = 1 << 30, x1 = -1, y1 = -1;
    for (std::size_t i = 0; i < stands.size(); ++i) {
      if (groupOf(stands[i].plan) != g) continue;
      const LayoutRect& r = layout.thumbnails[i];
      x0 = std::min(x0, r.left), y0 = std::min(y0, r.top);
      x1 = std::max(x1, r.left + r.width), y1 = std::max(y1, r.top + r.height);
    }
    if (x1 < 0) continue;
    for (int y = y0 - 4; y < y1 + 4; ++y)
      for (int x = x0 - 4; x < x1 + 4; ++x)
        if (x >= 0 && y >= 0 && x < pic.width && y < pic.height) pic.Set(x, y, Scale(pic.Get(x, y), 0.9));
    const Rgb edge = Scale(frame, 0.9);
    pic.Line(x0 - 5, y0 - 5, x1 + 4, y0 - 5, edge);
    pic.Line(x0 - 5, y1 + 4, x1 + 4, y1 + 4, edge);
    pic.Line(x0 - 5, y0 - 5, x0 - 5, y1 + 4, edge);
    pic.Line(x1 + 4, y0 - 5, x1 + 4, y1 + 4, edge);
  }

  // Each stand drawn as the catalogue window draws a thumbnail: black field, one pixel a tree in its
  // species colour, the boundary in red, number and description in white.
  const double scale = kThumbSize / 270.0;
  for (const MadeStand& s : stands) {
    const LayoutRect& place = layout.thumbnails[static_cast<std::size_t>(s.plan.entry - 1)];
    const int left = place.left, top = place.top;
    pic.FillRect(left, top, left + kThumbSize, top + kThumbSize, Rgb{0, 0, 0});
    auto px = [&](double v) { return left + RoundInt(scale * 0.5 * v) + 4; };
    auto py = [&](double v) { return top + kThumbSize - (RoundInt(scale * 0.5 * v) + 4); };
    auto put = [&](int x, int y, Rgb c) {
      if (x >= left && x < left + kThumbSize && y >= top && y < top + kThumbSize) pic.Set(x, y, c);
    };
    for (const Tree& t : s.trees) put(px(t.x), py(t.y), MapColour(t.species));
    for (std::size_t i = 0; i + 1 < s.boundary.size(); ++i) {
      const int xa = px(s.boundary[i].x), ya = py(s.boundary[i].y);
      const int xb = px(s.boundary[i + 1].x), yb = py(s.boundary[i + 1].y);
      const int steps = std::max(std::abs(xb - xa), std::abs(yb - ya));
      for (int k = 0; k <= steps; ++k) {
        const int x = steps ? xa + RoundInt(static_cast<double>(xb - xa) * k / steps) : xa;
        const int y = steps ? ya + RoundInt(static_cast<double>(yb - ya) * k / steps) : ya;
        put(x, y, Rgb{255, 0, 0});
      }
    }
    char nn[3] = {static_cast<char>('0' + s.plan.number / 10), static_cast<char>('0' + s.plan.number % 10), 0};
    std::string label = std::string(nn) + "  " + s.plan.shortText;
    const std::size_t comma = label.find(',');
    if (comma != std::string::npos) label.insert(comma + 1, 1, ' ');
    pic.Text(left + 2, top, label, Rgb{255, 255, 255}, false, left, left + kThumbSize);
  }
  return pic;
}

}  // namespace tolvek::makestands
