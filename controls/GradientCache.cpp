#include "controls/GradientCache.h"

#include <QPainter>
#include <map>
#include <tuple>

#include "controls/ColourValue.h"
#include "controls/GradientBands.h"

namespace controls {

namespace {

using Key = std::tuple<int, int, qreal, ColourNumber, ColourNumber, int, int>;

// A window shows a handful of gradients; an options window stepping through colours or band
// counts makes new ones. Past this many the cache starts over rather than grow without end.
constexpr std::size_t kMaxPictures = 32;

std::map<Key, QImage>& Cache() {
    static std::map<Key, QImage> cache;
    return cache;
}

int renders = 0;

}  // namespace

QImage GradientPicture(QSize size, qreal ratio, ColourNumber gradient, ColourNumber background,
                       int type, int bandCount) {
    if (size.isEmpty()) return {};
    const Key key{size.width(), size.height(), ratio, gradient, background, type, bandCount};
    auto& cache = Cache();
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    if (cache.size() >= kMaxPictures) cache.clear();

    QImage picture(size * ratio, QImage::Format_RGB32);
    picture.setDevicePixelRatio(ratio);
    picture.fill(ColourFromValue(background));
    QPainter p(&picture);
    for (const GradientBand& band :
         GradientBands(size.width(), size.height(), gradient, background, type, bandCount))
        p.fillRect(band.x, band.y, band.width, band.height, ColourFromValue(band.colour));
    p.end();
    ++renders;
    cache.emplace(key, picture);
    return picture;
}

int GradientRenderCount() {
    return renders;
}

}  // namespace controls
