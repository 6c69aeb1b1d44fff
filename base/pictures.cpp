#include "base/pictures.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace kestrin {
namespace {

// Every picture is designed on a 16 x 16 grid; pixel (x, y) covers [x, x+1) x [y, y+1).
// Strokes centred on half coordinates cover whole pixels, so outlines stay crisp at 16.
constexpr double kGrid = 16.0;
constexpr int kSamples = 4;  // per axis; 16 coverage samples per pixel

struct Point {
    double x;
    double y;
};

struct Color {
    double r, g, b, a;  // 0..1, straight alpha
};

constexpr Color Rgb(std::uint32_t rgb, double alpha = 1.0) {
    return {((rgb >> 16) & 0xFF) / 255.0, ((rgb >> 8) & 0xFF) / 255.0, (rgb & 0xFF) / 255.0, alpha};
}

// Premultiplied floating-point canvas; shapes are tests "is this point inside", sampled
// kSamples x kSamples times per pixel for anti-aliased edges.
class Canvas {
public:
    explicit Canvas(int size) : size_(size), px_(static_cast<std::size_t>(size * size) * 4, 0.0) {}

    template <typename Inside, typename Shade>
    void FillShaded(Inside inside, Shade shade) {
        const double unit = kGrid / size_;
        for (int py = 0; py < size_; ++py) {
            for (int px = 0; px < size_; ++px) {
                int hits = 0;
                for (int sy = 0; sy < kSamples; ++sy)
                    for (int sx = 0; sx < kSamples; ++sx)
                        if (inside((px + (sx + 0.5) / kSamples) * unit, (py + (sy + 0.5) / kSamples) * unit)) ++hits;
                if (hits == 0) continue;
                const Color c = shade((px + 0.5) * unit, (py + 0.5) * unit);
                const double a = c.a * hits / (kSamples * kSamples);
                double* d = &px_[static_cast<std::size_t>(py * size_ + px) * 4];
                d[0] = c.r * a + d[0] * (1 - a);
                d[1] = c.g * a + d[1] * (1 - a);
                d[2] = c.b * a + d[2] * (1 - a);
                d[3] = a + d[3] * (1 - a);
            }
        }
    }

    template <typename Inside>
    void Fill(Inside inside, Color c) {
        FillShaded(inside, [c](double, double) { return c; });
    }

    Picture Finish() const {
        Picture pic;
        pic.size = size_;
        pic.pixels.resize(static_cast<std::size_t>(size_ * size_));
        for (std::size_t i = 0; i < pic.pixels.size(); ++i) {
            const double* s = &px_[i * 4];
            const double a = s[3];
            auto channel = [a](double premultiplied) {
                const double v = a > 0 ? premultiplied / a : 0.0;
                return static_cast<std::uint32_t>(std::lround(std::clamp(v, 0.0, 1.0) * 255));
            };
            const std::uint32_t alpha = static_cast<std::uint32_t>(std::lround(std::clamp(a, 0.0, 1.0) * 255));
            pic.pixels[i] =
                alpha == 0 ? 0u : (alpha << 24) | (channel(s[0]) << 16) | (channel(s[1]) << 8) | channel(s[2]);
        }
        return pic;
    }

private:
    int size_;
    std::vector<double> px_;
};

// --- Shapes -------------------------------------------------------------------------

auto Rect(double x0, double y0, double x1, double y1) {
    return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

auto RoundRect(double x0, double y0, double x1, double y1, double r) {
    return [=](double x, double y) {
        if (x < x0 || x >= x1 || y < y0 || y >= y1) return false;
        const double cx = std::clamp(x, x0 + r, x1 - r);
        const double cy = std::clamp(y, y0 + r, y1 - r);
        return (x - cx) * (x - cx) + (y - cy) * (y - cy) <= r * r;
    };
}

auto Circle(Point c, double r) {
    return [=](double x, double y) { return (x - c.x) * (x - c.x) + (y - c.y) * (y - c.y) <= r * r; };
}

double SegmentDistance(double x, double y, Point a, Point b) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double len2 = dx * dx + dy * dy;
    double t = len2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x + t * dx - x, ey = a.y + t * dy - y;
    return std::sqrt(ex * ex + ey * ey);
}

// A line with round ends.
auto Line(Point a, Point b, double width) {
    return [=](double x, double y) { return SegmentDistance(x, y, a, b) <= width / 2; };
}

using Polygon = std::vector<Point>;

auto Filled(Polygon poly) {
    return [poly = std::move(poly)](double x, double y) {
        bool inside = false;
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++) {
            const Point& a = poly[i];
            const Point& b = poly[j];
            if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
        }
        return inside;
    };
}

// The polygon's edges as lines of the given width (square-ish joins are fine at this size).
auto Outline(Polygon poly, double width) {
    return [poly = std::move(poly), width](double x, double y) {
        for (std::size_t i = 0, j = poly.size() - 1; i < poly.size(); j = i++)
            if (SegmentDistance(x, y, poly[j], poly[i]) <= width / 2) return true;
        return false;
    };
}

// Maps a design drawn upright around (0, 0) onto the grid: turned by `degrees`
// clockwise and centred on `centre`.
Polygon Place(const Polygon& local, Point centre, double degrees) {
    const double t = degrees * 3.14159265358979323846 / 180.0;
    const double c = std::cos(t), s = std::sin(t);
    Polygon out;
    out.reserve(local.size());
    for (const Point& p : local) out.push_back({centre.x + p.x * c - p.y * s, centre.y + p.x * s + p.y * c});
    return out;
}

Point PlacePoint(Point p, Point centre, double degrees) { return Place({p}, centre, degrees)[0]; }

// --- Pictures -----------------------------------------------------------------------

const Color kInk = Rgb(0x2B2B2B);
const Color kFolderEdge = Rgb(0x8A5A00);

void DrawTrayIcon(Canvas& c) {
    // A white rocket climbing to the upper right on a blue tile: bright against the
    // grey and the dark taskbars alike, and still a rocket at 16 pixels.
    c.Fill(RoundRect(0, 0, 16, 16, 3.5), Rgb(0x0B2A63));
    c.FillShaded(RoundRect(1, 1, 15, 15, 2.5), [](double, double y) {
        const Color top = Rgb(0x3D8BEA), bottom = Rgb(0x1550B0);
        const double t = std::clamp((y - 1) / 14, 0.0, 1.0);
        return Color{top.r + (bottom.r - top.r) * t, top.g + (bottom.g - top.g) * t, top.b + (bottom.b - top.b) * t,
                     1.0};
    });

    const Point centre{8.2, 7.8};
    const double turn = 45;
    const Polygon flame = {{-1.7, 3.0}, {1.7, 3.0}, {0, 7.4}};
    const Polygon finLeft = {{-2.3, -0.8}, {-4.9, 3.0}, {-4.9, 4.4}, {-2.3, 3.0}};
    const Polygon finRight = {{2.3, -0.8}, {4.9, 3.0}, {4.9, 4.4}, {2.3, 3.0}};
    const Polygon body = {{0, -7.0}, {1.6, -5.4}, {2.4, -3.2}, {2.4, 3.2}, {-2.4, 3.2}, {-2.4, -3.2}, {-1.6, -5.4}};
    c.Fill(Filled(Place(flame, centre, turn)), Rgb(0xFFC028));
    c.Fill(Filled(Place(finLeft, centre, turn)), Rgb(0xF03A30));
    c.Fill(Filled(Place(finRight, centre, turn)), Rgb(0xF03A30));
    c.Fill(Filled(Place(body, centre, turn)), Rgb(0xFFFFFF));
    c.Fill(Circle(PlacePoint({0, -1.8}, centre, turn), 1.2), Rgb(0x1550B0));
}

void DrawSettings(Canvas& c) {
    // The sheet: pale yellow with a darker grid and a brown frame.
    c.Fill(Rect(1, 2, 13, 15), Rgb(0xFFF0A0));
    const Color grid = Rgb(0xD9A800);
    for (double g : {4.0, 7.0, 10.0}) {
        c.Fill(Rect(g, 3, g + 1, 14), grid);
        c.Fill(Rect(2, g + 1, 12, g + 2), grid);
    }
    c.Fill(Outline({{1.5, 2.5}, {12.5, 2.5}, {12.5, 14.5}, {1.5, 14.5}}, 1.0), Rgb(0x9A7400));

    // The pen, writing towards the lower left.
    const Point centre{9.4, 7.2};
    const double turn = 45;
    const Polygon body = {{-1.6, -6.6}, {1.6, -6.6}, {1.6, 2.4}, {-1.6, 2.4}};
    const Polygon cap = {{-1.6, -6.6}, {1.6, -6.6}, {1.6, -4.8}, {-1.6, -4.8}};
    const Polygon tip = {{-1.6, 2.4}, {1.6, 2.4}, {0, 6.6}};
    const Polygon lead = {{-0.6, 4.9}, {0.6, 4.9}, {0, 6.6}};
    c.Fill(Outline(Place(body, centre, turn), 1.0), kInk);
    c.Fill(Outline(Place(tip, centre, turn), 1.0), kInk);
    c.Fill(Filled(Place(body, centre, turn)), Rgb(0x2F6BD8));
    c.Fill(Filled(Place(cap, centre, turn)), Rgb(0xD83030));
    c.Fill(Filled(Place(tip, centre, turn)), Rgb(0xF4CE96));
    c.Fill(Filled(Place(lead, centre, turn)), kInk);
}

void DrawExit(Canvas& c) {
    const Color edge = Rgb(0x7A0A0A), red = Rgb(0xE02020);
    const Point a{4, 4}, b{12, 12}, d{12, 4}, e{4, 12};
    c.Fill(Line(a, b, 4.6), edge);
    c.Fill(Line(d, e, 4.6), edge);
    c.Fill(Line(a, b, 2.8), red);
    c.Fill(Line(d, e, 2.8), red);
}

void DrawOpenFolder(Canvas& c) {
    const Polygon back = {{1.5, 3.5}, {5.5, 3.5}, {6.5, 4.5}, {12.5, 4.5}, {12.5, 13.5}, {1.5, 13.5}};
    const Polygon front = {{4.5, 7.5}, {15.5, 7.5}, {12.5, 13.5}, {1.5, 13.5}};
    c.Fill(Filled(back), Rgb(0xDDA02A));
    c.Fill(Outline(back, 1.0), kFolderEdge);
    c.Fill(Rect(3, 6, 12, 8), Rgb(0xFFFFFF));  // a sheet peeking out
    c.Fill(Filled(front), Rgb(0xFFD660));
    c.Fill(Outline(front, 1.0), kFolderEdge);
}

void DrawFolderGlyph(Canvas& c) {
    const Polygon folder = {{2.5, 3.5}, {6.5, 3.5}, {7.5, 4.5}, {13.5, 4.5}, {13.5, 12.5}, {2.5, 12.5}};
    c.Fill(Filled(folder), Rgb(0xFFCF4A));
    c.Fill(Rect(3, 5, 13, 6), Rgb(0xFFE9A0));  // the lid's lit edge
    c.Fill(Outline(folder, 1.0), kFolderEdge);
}

// One arrow design for all four directions: drawn pointing up, then turned, so the
// four glyphs are exact rotations of each other around the centre of the grid.
void DrawArrow(Canvas& c, double degrees) {
    const Polygon arrow = {{0, -6.2}, {6, 0}, {2, 0}, {2, 6}, {-2, 6}, {-2, 0}, {-6, 0}};
    c.Fill(Filled(Place(arrow, {8, 8}, degrees)), Rgb(0x1F4E9C));
}

}  // namespace

Picture DrawPicture(PictureId id, int size) {
    if (size < 1) throw std::invalid_argument("picture size must be positive");
    Canvas c(size);
    switch (id) {
    case PictureId::TrayIcon: DrawTrayIcon(c); break;
    case PictureId::Settings: DrawSettings(c); break;
    case PictureId::Exit: DrawExit(c); break;
    case PictureId::Folder: DrawOpenFolder(c); break;
    case PictureId::ArrowUp: DrawArrow(c, 0); break;
    case PictureId::ArrowRight: DrawArrow(c, 90); break;
    case PictureId::ArrowDown: DrawArrow(c, 180); break;
    case PictureId::ArrowLeft: DrawArrow(c, 270); break;
    case PictureId::FolderGlyph: DrawFolderGlyph(c); break;
    }
    return c.Finish();
}

}  // namespace kestrin
