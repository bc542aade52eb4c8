// Look-ups over what a paint drew on the program's recording surface (the one
// that also serves `orvano --dump-ops`).
#pragma once

#include <string>
#include <vector>

#include "app/render_recorder.h"

namespace orvano::testing {

using orvano::DrawOp;
using orvano::RecordingSurface;

inline std::vector<DrawOp> OpsOfKind(const RecordingSurface& surface, DrawOp::Kind kind) {
    std::vector<DrawOp> found;
    for (const DrawOp& op : surface.ops()) {
        if (op.kind == kind) found.push_back(op);
    }
    return found;
}

inline std::vector<DrawOp> Texts(const RecordingSurface& surface) {
    return OpsOfKind(surface, DrawOp::Kind::Text);
}

inline std::vector<DrawOp> Lines(const RecordingSurface& surface) {
    return OpsOfKind(surface, DrawOp::Kind::Line);
}

// The first text drawn with exactly this content, or nullptr.
inline const DrawOp* FindText(const RecordingSurface& surface, const std::string& text) {
    for (const DrawOp& op : surface.ops()) {
        if (op.kind == DrawOp::Kind::Text && op.text == text) return &op;
    }
    return nullptr;
}

inline int CountTexts(const RecordingSurface& surface, const std::string& text) {
    int count = 0;
    for (const DrawOp& op : surface.ops()) {
        if (op.kind == DrawOp::Kind::Text && op.text == text) ++count;
    }
    return count;
}

// True when every object made on the surface was released and nothing was misused.
inline bool AllReleased(const RecordingSurface& surface) {
    return surface.LiveObjects() == 0 && surface.faults().empty();
}

}  // namespace orvano::testing
