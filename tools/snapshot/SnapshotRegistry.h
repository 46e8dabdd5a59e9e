#pragma once
// The pictures the snapshot tool can render. Each source file registers its own with
// SNAPSHOT_REGISTER; the tool renders every one (or those named on its command line) at device
// pixel ratios 1 and 2.

#include <QLabel>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace snapshot {

// Builds the widget to render, sized and filled with demonstration content. `ratio` is the
// device pixel ratio the picture is rendered at, for artwork that must be made for it.
using Factory = std::function<std::unique_ptr<QWidget>(qreal ratio)>;

struct Entry {
    std::string name;  // the PNG file name without extension
    Factory make;
};

std::vector<Entry>& Registry();

// A small light caption on a sheet, its top left at (x, y).
QLabel* Caption(QWidget* parent, const QString& text, int x, int y);

struct Registrar {
    Registrar(std::string name, Factory make) {
        Registry().push_back({std::move(name), std::move(make)});
    }
};

}  // namespace snapshot

#define SNAPSHOT_CONCAT2(a, b) a##b
#define SNAPSHOT_CONCAT(a, b) SNAPSHOT_CONCAT2(a, b)
#define SNAPSHOT_REGISTER(name, factory) \
    static const ::snapshot::Registrar SNAPSHOT_CONCAT(snapshotRegistrar_, __LINE__)(name, factory)
