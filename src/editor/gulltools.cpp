// The gull tools: adding, selecting and dragging gulls, their motion and band, their kind,
// deleting and duplicating them, and the grid.
#include <cmath>

#include "editor/editorform.h"

namespace {

constexpr int kGrab = 5;  // how near a handle the pointer must be to take it

bool Near(POINT a, POINT b) {
    return std::abs(a.x - b.x) <= kGrab && std::abs(a.y - b.y) <= kGrab;
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
        if (at.x >= gull.X && at.x < gull.X + kGullSize && at.y >= gull.Y &&
            at.y < gull.Y + kGullSize) {
            return i;
        }
    }
    return -1;
}

void TLevelEditor::PressAt(POINT at) {
    dragChanged_ = false;
    if (state_.Selected >= 0) {
        const TZNGull& gull = Level().Gulls[static_cast<std::size_t>(state_.Selected)];
        const RECT band = Band(gull);
        const LONG middle = gull.X + kGullSize / 2;
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
        grabOffset_ = POINT{at.x - gull.X, at.y - gull.Y};
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
                gull.MinY += y - gull.Y;
                gull.MaxY += y - gull.Y;
            }
            gull.X = x;
            gull.Y = y;
            break;
        }
        case Drag::Motion:
            gull.DX = static_cast<std::int32_t>(
                std::lround((at.x - gull.X - kGullSize / 2) / kArrowSeconds));
            gull.DY = static_cast<std::int32_t>(
                std::lround((at.y - gull.Y - kGullSize / 2) / kArrowSeconds));
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
        copy.X += kGrid;
        copy.Y += kGrid;
        if (copy.MaxY > copy.MinY) {
            copy.MinY += kGrid;
            copy.MaxY += kGrid;
        }
        gulls.push_back(copy);
        state.Selected = static_cast<std::int32_t>(gulls.size()) - 1;
    });
}
