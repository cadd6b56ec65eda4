// The gull tools: adding, selecting and dragging gulls, their motion and band, their kind,
// deleting and duplicating them, and the grid.
#include <algorithm>
#include <cmath>
#include <limits>

#include "editor/editorform.h"

namespace {

constexpr int kGrab = 5;  // how near a handle the pointer must be to take it

bool Near(POINT a, POINT b, int reach = kGrab) {
    return std::abs(a.x - b.x) <= reach && std::abs(a.y - b.y) <= reach;
}

// A value moved by some pixels, kept within the numbers a record holds: a gull a file set far
// off may be brought onto the screen with its band.
std::int32_t Shifted(std::int32_t value, std::int64_t by) {
    return static_cast<std::int32_t>(
        std::clamp<std::int64_t>(value + by, std::numeric_limits<std::int32_t>::min(),
                                 std::numeric_limits<std::int32_t>::max()));
}

// A speed the arrow's head is dragged to, within what may be typed.
std::int32_t Speed(double pixels, const editor::NumberField& field) {
    return static_cast<std::int32_t>(
        std::clamp<long>(std::lround(pixels / TLevelEditor::kArrowSeconds), field.Low, field.High));
}

}  // namespace

std::int32_t TLevelEditor::Snapped(std::int32_t value) const {
    if (!snap_) {
        return value;
    }
    return static_cast<std::int32_t>(std::lround(value / static_cast<double>(kGrid))) * kGrid;
}

std::int32_t TLevelEditor::GullAt(POINT at) const {
    // The gull drawn last is on top.
    const std::vector<TZNGull>& gulls = Level().Gulls;
    for (auto i = static_cast<std::int32_t>(gulls.size()) - 1; i >= 0; --i) {
        const TZNGull& gull = gulls[static_cast<std::size_t>(i)];
        const std::optional<Marker> marker = MarkerOf(gull);
        // A gull off the screen is taken by its marker.
        if (marker ? Near(at, marker->Tip, kMarkerSize)
                   : at.x >= gull.X && at.x < std::int64_t{gull.X} + kGullSize && at.y >= gull.Y &&
                         at.y < std::int64_t{gull.Y} + kGullSize) {
            return i;
        }
    }
    return -1;
}

void TLevelEditor::SelectNextGull() {
    // Every gull in turn, those off the screen too.
    const auto count = static_cast<std::int32_t>(Level().Gulls.size());
    if (count == 0) {
        message_ = "No gulls on this level: a click on the sky adds one";
        return;
    }
    state_.Selected = (state_.Selected + 1) % count;
    drag_ = Drag::None;
}

void TLevelEditor::PressAt(POINT at) {
    dragChanged_ = false;
    if (state_.Selected >= 0) {
        const TZNGull& gull = Level().Gulls[static_cast<std::size_t>(state_.Selected)];
        const RECT band = Band(gull);
        const LONG middle = band.left + kGullSize / 2;
        if (Near(at, ArrowHead(gull))) {
            drag_ = Drag::Motion;
            return;
        }
        if (Near(at, POINT{middle, band.top})) {
            drag_ = Drag::BandTop;
            return;
        }
        if (Near(at, POINT{middle, band.bottom - 1})) {
            drag_ = Drag::BandBottom;
            return;
        }
    }
    const std::int32_t hit = GullAt(at);
    if (hit >= 0) {
        state_.Selected = hit;
        const TZNGull& gull = Level().Gulls[static_cast<std::size_t>(hit)];
        // By its marker, a gull off the screen is taken by its middle and brought on.
        grabOffset_ = MarkerOf(gull) ? POINT{kGullSize / 2, kGullSize / 2}
                                     : POINT{at.x - gull.X, at.y - gull.Y};
        drag_ = Drag::Move;
        return;
    }
    // Empty sky: a new gull centred on the pointer, flying right, in level flight.
    Change([&](editor::EditState& state) {
        editor::EditLevel& level = state.Levels[static_cast<std::size_t>(state.Level)];
        TZNGull gull;
        gull.X = Snapped(at.x - kGullSize / 2);
        gull.Y = Snapped(at.y - kGullSize / 2);
        gull.DX = 100;
        level.Gulls.push_back(gull);
        state.Selected = static_cast<std::int32_t>(level.Gulls.size()) - 1;
    });
    grabOffset_ = POINT{kGullSize / 2, kGullSize / 2};
    drag_ = Drag::Move;
    dragChanged_ = true;  // the drag moves the gull just added, within the same change
}

void TLevelEditor::DragTo(POINT at) {
    if (drag_ == Drag::None || state_.Selected < 0) {
        return;
    }
    TZNGull gull = Level().Gulls[static_cast<std::size_t>(state_.Selected)];
    switch (drag_) {
        case Drag::Move: {
            const std::int32_t x = Snapped(at.x - grabOffset_.x);
            const std::int32_t y = Snapped(at.y - grabOffset_.y);
            // A band goes with its gull.
            if (gull.MaxY > gull.MinY) {
                gull.MinY = Shifted(gull.MinY, std::int64_t{y} - gull.Y);
                gull.MaxY = Shifted(gull.MaxY, std::int64_t{y} - gull.Y);
            }
            gull.X = x;
            gull.Y = y;
            break;
        }
        case Drag::Motion:
            gull.DX = Speed(at.x - (gull.X + kGullSize / 2.0), editor::kGullDX);
            gull.DY = Speed(at.y - (gull.Y + kGullSize / 2.0), editor::kGullDY);
            break;
        case Drag::BandTop:
            if (gull.MaxY <= gull.MinY) {
                gull.MaxY = gull.Y;
            }
            gull.MinY = std::min(Snapped(at.y), gull.Y);
            break;
        case Drag::BandBottom:
            if (gull.MaxY <= gull.MinY) {
                gull.MinY = gull.Y;
            }
            gull.MaxY = std::max(Snapped(at.y) - kGullSize + 1, gull.Y);
            break;
        case Drag::None:
            break;
    }
    if (gull == Level().Gulls[static_cast<std::size_t>(state_.Selected)]) {
        return;
    }
    if (!dragChanged_) {
        // One drag is one change to undo.
        history_.Record(state_);
        state_.Revision = nextRevision_++;
        dragChanged_ = true;
    }
    Level().Gulls[static_cast<std::size_t>(state_.Selected)] = gull;
}

void TLevelEditor::ToggleKind() {
    if (state_.Selected < 0) {
        message_ = "Select a gull first";
        return;
    }
    Change([](editor::EditState& state) {
        TZNGull& gull = state.Levels[static_cast<std::size_t>(state.Level)]
                            .Gulls[static_cast<std::size_t>(state.Selected)];
        gull.AGull = gull.AGull != 0 ? 0 : 1;
    });
}

void TLevelEditor::DeleteGull() {
    if (state_.Selected < 0) {
        message_ = "Select a gull first";
        return;
    }
    Change([](editor::EditState& state) {
        std::vector<TZNGull>& gulls = state.Levels[static_cast<std::size_t>(state.Level)].Gulls;
        gulls.erase(gulls.begin() + state.Selected);
        state.Selected = -1;
    });
}

void TLevelEditor::DuplicateGull() {
    if (state_.Selected < 0) {
        message_ = "Select a gull first";
        return;
    }
    Change([&](editor::EditState& state) {
        std::vector<TZNGull>& gulls = state.Levels[static_cast<std::size_t>(state.Level)].Gulls;
        TZNGull copy = gulls[static_cast<std::size_t>(state.Selected)];
        // The copy stands a grid step lower and to the right, so that both can be seen.
        copy.X = Shifted(copy.X, kGrid);
        copy.Y = Shifted(copy.Y, kGrid);
        if (copy.MaxY > copy.MinY) {
            copy.MinY = Shifted(copy.MinY, kGrid);
            copy.MaxY = Shifted(copy.MaxY, kGrid);
        }
        gulls.push_back(copy);
        state.Selected = static_cast<std::int32_t>(gulls.size()) - 1;
    });
}
