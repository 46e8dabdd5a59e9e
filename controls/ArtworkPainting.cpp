#include "controls/ArtworkPainting.h"

#include <QConicalGradient>
#include <QFont>
#include <QLinearGradient>
#include <QPainterPath>
#include <QRadialGradient>
#include <QtMath>
#include <cstdint>

namespace controls::artwork::detail {

namespace {

// The light comes from the upper left on every picture.
const QColor kAmber(255, 158, 36);
const QColor kTrack(58, 60, 66);

QPointF Polar(QPointF centre, double radius, double degreesFromTop) {
    const double a = qDegreesToRadians(degreesFromTop);
    return centre + QPointF(radius * std::sin(a), -radius * std::cos(a));
}

// A round metal part of radius r in the middle of a size x size picture, shaded diagonally
// from the light at the upper left.
void MetalDisc(QPainter& p, double size, double r, const QGradientStops& shade, const QPen& outline) {
    QLinearGradient g(0, 0, size, size);
    g.setStops(shade);
    p.setPen(outline);
    p.setBrush(g);
    p.drawEllipse(QPointF(size / 2, size / 2), r, r);
}

}  // namespace

double KnobAngle(double t) { return -135.0 + 270.0 * t; }

void PaintKnob(QPainter& p, int size, double t) {
    const double s = size;
    const QPointF c(s / 2, s / 2);
    const double trackWidth = std::max(1.5, s / 22);
    const double trackR = s / 2 - trackWidth / 2 - 0.5;
    const double skirtR = s / 2 - trackWidth - 2.5;
    const double capR = skirtR * 0.74;
    const double angle = KnobAngle(t);

    // Value track: the whole sweep dim, the part up to the pointer lit.
    const QRectF arcBox(c.x() - trackR, c.y() - trackR, 2 * trackR, 2 * trackR);
    QPen track(kTrack, trackWidth, Qt::SolidLine, Qt::FlatCap);
    p.setPen(track);
    p.drawArc(arcBox, 225 * 16, -270 * 16);
    if (t > 0) {
        QPen lit(kAmber, trackWidth, Qt::SolidLine, Qt::FlatCap);
        p.setPen(lit);
        p.drawArc(arcBox, 225 * 16, qRound(-270 * 16 * t));
    }

    // Drop shadow under the knob.
    QRadialGradient shadow(c + QPointF(0, s / 30), skirtR + 2);
    shadow.setColorAt(0.80, QColor(0, 0, 0, 170));
    shadow.setColorAt(1.0, QColor(0, 0, 0, 0));
    p.setPen(Qt::NoPen);
    p.setBrush(shadow);
    p.drawEllipse(c + QPointF(0, s / 30), skirtR + 2, skirtR + 2);

    // Knurled skirt: dark body, ridges that turn with the knob.
    QLinearGradient body(0, c.y() - skirtR, 0, c.y() + skirtR);
    body.setColorAt(0, QColor(70, 73, 80));
    body.setColorAt(1, QColor(16, 17, 19));
    p.setBrush(body);
    p.setPen(QPen(QColor(8, 8, 9), 1));
    p.drawEllipse(c, skirtR, skirtR);
    const int ridges = size >= 40 ? 28 : 20;
    for (int i = 0; i < ridges; ++i) {
        const double a = angle + 360.0 * i / ridges;
        // Ridges facing the light are brighter.
        const double facing = 0.5 + 0.5 * std::cos(qDegreesToRadians(a + 45));
        p.setPen(QPen(QColor(110, 114, 122, int(40 + 120 * facing)), std::max(0.8, s / 50)));
        p.drawLine(Polar(c, capR + 0.8, a), Polar(c, skirtR - 0.6, a));
    }

    // Cap: brushed top with a soft rim and a highlight.
    QLinearGradient rim(c.x() - capR, c.y() - capR, c.x() + capR, c.y() + capR);
    rim.setColorAt(0, QColor(120, 124, 132));
    rim.setColorAt(1, QColor(10, 10, 12));
    p.setPen(Qt::NoPen);
    p.setBrush(rim);
    p.drawEllipse(c, capR, capR);
    QRadialGradient top(c + QPointF(-capR * 0.35, -capR * 0.45), capR * 1.5);
    top.setColorAt(0, QColor(92, 96, 104));
    top.setColorAt(0.55, QColor(44, 46, 51));
    top.setColorAt(1, QColor(24, 25, 28));
    p.setBrush(top);
    p.drawEllipse(c, capR - 1, capR - 1);
    QConicalGradient sheen(c, 45);
    sheen.setColorAt(0.0, QColor(255, 255, 255, 34));
    sheen.setColorAt(0.25, QColor(255, 255, 255, 0));
    sheen.setColorAt(0.5, QColor(255, 255, 255, 26));
    sheen.setColorAt(0.75, QColor(255, 255, 255, 0));
    sheen.setColorAt(1.0, QColor(255, 255, 255, 34));
    p.setBrush(sheen);
    p.drawEllipse(c, capR - 1, capR - 1);

    // Pointer: a white line from the cap's middle to the skirt's edge.
    const double pw = std::max(1.6, s / 16);
    p.setPen(QPen(QColor(0, 0, 0, 140), pw + 1.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(Polar(c, capR * 0.30, angle), Polar(c, skirtR - pw / 2, angle));
    p.setPen(QPen(QColor(244, 244, 240), pw, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(Polar(c, capR * 0.30, angle), Polar(c, skirtR - pw / 2, angle));
}

void PaintLamp(QPainter& p, int size, const QColor& hue, bool on) {
    const double s = size;
    const QPointF c(s / 2, s / 2);
    const double bezelR = s / 2 - 0.5;
    const double ledR = bezelR - std::max(2.0, s / 7);

    // Bezel: a dark metal ring.
    MetalDisc(p, s, bezelR,
              {{0, QColor(118, 122, 130)}, {0.5, QColor(40, 42, 46)}, {1, QColor(12, 12, 14)}},
              QPen(QColor(5, 5, 6), 0.8));

    // Dome.
    QRadialGradient dome(c + QPointF(-ledR * 0.3, -ledR * 0.3), ledR * 1.4);
    if (on) {
        dome.setColorAt(0, hue.lighter(190));
        dome.setColorAt(0.35, hue);
        dome.setColorAt(1, hue.darker(260));
    } else {
        dome.setColorAt(0, hue.darker(420));
        dome.setColorAt(1, hue.darker(900));
    }
    p.setPen(QPen(QColor(0, 0, 0, 200), 0.8));
    p.setBrush(dome);
    p.drawEllipse(c, ledR, ledR);
    if (on) {
        QRadialGradient glow(c, bezelR);
        QColor g = hue;
        g.setAlpha(90);
        glow.setColorAt(0.5, g);
        glow.setColorAt(1, QColor(0, 0, 0, 0));
        p.setPen(Qt::NoPen);
        p.setBrush(glow);
        p.drawEllipse(c, bezelR, bezelR);
    }
    // Glint.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, on ? 200 : 70));
    p.drawEllipse(c + QPointF(-ledR * 0.38, -ledR * 0.38), ledR * 0.28, ledR * 0.22);
}

void PaintPushButton(QPainter& p, int size, const QString& legend, bool pressed) {
    const double s = size;
    const double radius = s / 7;
    // Recess in the panel.
    const QRectF well(0.5, 0.5, s - 1, s - 1);
    QLinearGradient wellShade(0, 0, 0, s);
    wellShade.setColorAt(0, QColor(4, 4, 5));
    wellShade.setColorAt(1, QColor(54, 56, 61));
    p.setPen(Qt::NoPen);
    p.setBrush(wellShade);
    p.drawRoundedRect(well, radius + 1, radius + 1);
    p.setBrush(QColor(8, 8, 9));
    const double gap = std::max(1.5, s / 16);
    p.drawRoundedRect(well.adjusted(gap - 1, gap - 1, 1 - gap, 1 - gap), radius, radius);

    // Cap, one pixel lower and darker when pressed.
    const double drop = pressed ? std::max(1.0, s / 36) : 0.0;
    const QRectF cap = well.adjusted(gap, gap + drop, -gap, -gap + drop - (pressed ? 0 : 1));
    QLinearGradient face(0, cap.top(), 0, cap.bottom());
    face.setColorAt(0, pressed ? QColor(56, 59, 65) : QColor(84, 88, 96));
    face.setColorAt(0.5, pressed ? QColor(38, 40, 44) : QColor(50, 53, 58));
    face.setColorAt(1, pressed ? QColor(26, 27, 30) : QColor(30, 32, 35));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.setBrush(face);
    p.drawRoundedRect(cap, radius, radius);
    // Top edge catching the light.
    p.setPen(QPen(QColor(255, 255, 255, pressed ? 30 : 70), 1));
    p.drawLine(QPointF(cap.left() + radius, cap.top() + 1), QPointF(cap.right() - radius, cap.top() + 1));

    // Indicator bar at the top of the cap. A small cap has no room for both a bar and a
    // legend: there the legend alone, larger, lights up.
    const bool compact = size < 28 && !legend.isEmpty();
    const double barH = std::max(1.5, s / 14);
    const QRectF bar(cap.left() + cap.width() * 0.28, cap.top() + barH * 1.2, cap.width() * 0.44, barH);
    p.setPen(Qt::NoPen);
    if (!compact) {
        if (pressed) {
            QColor glow = kAmber;
            glow.setAlpha(80);
            p.setBrush(glow);
            p.drawRoundedRect(bar.adjusted(-1.5, -1.5, 1.5, 1.5), barH, barH);
        }
        p.setBrush(pressed ? kAmber : QColor(70, 46, 14));
        p.drawRoundedRect(bar, barH / 2, barH / 2);
    }

    if (!legend.isEmpty()) {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(compact ? int(s / 2) : std::max(7, int(s / 4.2)));
        p.setFont(f);
        const QRectF text = compact ? cap : cap.adjusted(1, bar.bottom() - cap.top(), -1, 0);
        p.setPen(QColor(0, 0, 0, 160));
        p.drawText(text.translated(0, 1), Qt::AlignCenter, legend);
        p.setPen(pressed ? (compact ? kAmber : QColor(255, 214, 160)) : QColor(214, 216, 220));
        p.drawText(text, Qt::AlignCenter, legend);
    }
}

QImage WallpaperTexture(int n) {
    QImage img(n, n, QImage::Format_RGB32);
    // A fixed seed: the same texture on every run and every snapshot.
    std::uint32_t seed = 0x2545F491u;
    auto next = [&seed] {
        seed ^= seed << 13;
        seed ^= seed >> 17;
        seed ^= seed << 5;
        return seed;
    };
    // Brushing runs along the rows; each row keeps its own shade across the tile, so the
    // left and right edges meet without a seam.
    std::vector<int> rowShade(n);
    for (int y = 0; y < n; ++y) rowShade[y] = int(next() % 9) - 4;
    for (int y = 0; y < n; ++y) {
        QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < n; ++x) {
            const int grain = int(next() % 7) - 3;
            const int v = 27 + rowShade[y] + grain;
            line[x] = qRgb(v, v + 1, v + 4);
        }
    }
    return img;
}

void PaintTrashCan(QPainter& p, int width, int height) {
    const double w = width, h = height;
    const double lidTop = h * 0.12, lidH = h * 0.10;
    const double bodyTop = lidTop + lidH + 1;
    const double bodyBottom = h - 1.5;

    QLinearGradient metal(0, 0, w, 0);
    metal.setColorAt(0, QColor(60, 64, 70));
    metal.setColorAt(0.30, QColor(150, 156, 166));
    metal.setColorAt(0.55, QColor(96, 101, 109));
    metal.setColorAt(1, QColor(34, 36, 40));

    // Body: slightly narrower at the bottom.
    QPainterPath body;
    body.moveTo(w * 0.14, bodyTop);
    body.lineTo(w * 0.86, bodyTop);
    body.lineTo(w * 0.78, bodyBottom - 2);
    body.quadTo(w * 0.78, bodyBottom, w * 0.74, bodyBottom);
    body.lineTo(w * 0.26, bodyBottom);
    body.quadTo(w * 0.22, bodyBottom, w * 0.22, bodyBottom - 2);
    body.closeSubpath();
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(metal);
    p.drawPath(body);

    // Ribs.
    for (double fx : {0.34, 0.50, 0.66}) {
        const double xTop = w * fx, xBottom = w * (0.5 + (fx - 0.5) * 0.78);
        p.setPen(QPen(QColor(20, 21, 24, 200), std::max(1.4, w / 24), Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(xTop, bodyTop + 4), QPointF(xBottom, bodyBottom - 4));
        p.setPen(QPen(QColor(255, 255, 255, 60), 1));
        p.drawLine(QPointF(xTop + 1.2, bodyTop + 4), QPointF(xBottom + 1.2, bodyBottom - 4));
    }

    // Lid with its handle.
    const QRectF lid(w * 0.06, lidTop, w * 0.88, lidH);
    QLinearGradient lidShade(0, lid.top(), 0, lid.bottom());
    lidShade.setColorAt(0, QColor(172, 178, 188));
    lidShade.setColorAt(1, QColor(66, 70, 77));
    p.setPen(QPen(QColor(10, 10, 12), 1));
    p.setBrush(lidShade);
    p.drawRoundedRect(lid, 2, 2);
    const QRectF handle(w * 0.38, lidTop - h * 0.08, w * 0.24, h * 0.10);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(10, 10, 12), 3.2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(handle, 0, 180 * 16);
    p.setPen(QPen(QColor(150, 156, 166), 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(handle, 0, 180 * 16);
}

void PaintMidiPlug(QPainter& p, int size) {
    const double s = size;
    const QPointF c(s / 2, s / 2);
    const double shellR = s / 2 - 1;
    const double faceR = shellR * 0.80;

    // Knurled metal shell.
    MetalDisc(p, s, shellR,
              {{0, QColor(200, 205, 212)}, {0.45, QColor(112, 117, 125)}, {1, QColor(34, 36, 40)}},
              QPen(QColor(8, 8, 10), 1));
    for (int i = 0; i < 48; ++i) {
        const double a = 360.0 * i / 48;
        p.setPen(QPen(QColor(0, 0, 0, 60), 1));
        p.drawLine(Polar(c, faceR + 2, a), Polar(c, shellR - 1, a));
    }

    // Black insulator face with the key notch at the bottom.
    QRadialGradient face(c + QPointF(-faceR * 0.3, -faceR * 0.3), faceR * 1.6);
    face.setColorAt(0, QColor(58, 60, 64));
    face.setColorAt(1, QColor(10, 10, 11));
    p.setPen(QPen(QColor(0, 0, 0), 1.2));
    p.setBrush(face);
    p.drawEllipse(c, faceR, faceR);
    const double notchW = faceR * 0.28;
    p.setBrush(QColor(150, 155, 163));
    p.setPen(QPen(QColor(0, 0, 0), 1));
    p.drawRect(QRectF(c.x() - notchW / 2, c.y() + faceR - notchW * 0.6, notchW, notchW * 0.9));

    // Five pins on a half circle (180 degree layout), gold.
    const double pinR = std::max(2.2, s / 22);
    const double ring = faceR * 0.58;
    for (double a : {-90.0, -45.0, 0.0, 45.0, 90.0}) {
        const QPointF at = Polar(c, ring, a);
        QRadialGradient gold(at + QPointF(-pinR * 0.4, -pinR * 0.4), pinR * 1.6);
        gold.setColorAt(0, QColor(255, 236, 160));
        gold.setColorAt(0.5, QColor(214, 160, 52));
        gold.setColorAt(1, QColor(110, 72, 14));
        p.setPen(QPen(QColor(0, 0, 0), 0.8));
        p.setBrush(gold);
        p.drawEllipse(at, pinR, pinR);
    }
}

void PaintAppIcon(QPainter& p, int size) {
    const double s = size;
    const double margin = std::max(0.5, s / 32);
    const QRectF panel(margin, margin, s - 2 * margin, s - 2 * margin);
    const double corner = s * 0.18;

    // A dark rack panel, lit from the upper left, with a thin bright rim.
    QLinearGradient metal(panel.topLeft(), panel.bottomRight());
    metal.setColorAt(0, QColor(74, 77, 85));
    metal.setColorAt(0.55, QColor(34, 35, 40));
    metal.setColorAt(1, QColor(14, 14, 16));
    p.setPen(QPen(QColor(120, 124, 134), std::max(1.0, s / 64)));
    p.setBrush(metal);
    p.drawRoundedRect(panel, corner, corner);

    // The eight modules' lamps across the top, the current one lit; tiny icons keep four.
    const int lamps = size >= 32 ? 8 : 4;
    const double lampRow = panel.top() + panel.height() * 0.16;
    const double span = panel.width() * 0.70;
    const double pitch = span / lamps;
    const double lampR = std::max(0.9, pitch * 0.30);
    for (int i = 0; i < lamps; ++i) {
        const QPointF at(panel.center().x() - span / 2 + pitch * (i + 0.5), lampRow);
        const bool lit = i == 2;
        QRadialGradient dome(at - QPointF(lampR * 0.3, lampR * 0.3), lampR * 1.5);
        dome.setColorAt(0, lit ? QColor(255, 170, 150) : QColor(90, 20, 14));
        dome.setColorAt(1, lit ? QColor(200, 20, 10) : QColor(30, 6, 5));
        p.setPen(Qt::NoPen);
        p.setBrush(dome);
        p.drawEllipse(at, lampR, lampR);
    }

    // A large value knob below them, its amber track two thirds up.
    const double knob = panel.width() * 0.74;
    p.save();
    p.translate(panel.center().x() - knob / 2, panel.bottom() - knob - panel.height() * 0.04);
    PaintKnob(p, qRound(knob), 0.66);
    p.restore();
}

}  // namespace controls::artwork::detail
