// What `orvano --dump-ops` writes: the operations a page drew on the recording
// surface, then the window's visible child controls.
#pragma once

#include <string>
#include <vector>

#include "platform/recording_surface.h"

namespace orvano {

// A visible child control as `--dump-ops` lists it after the drawing.
struct ControlBox {
    int id = 0;
    std::string name;
    Box box;
    // A label's or a button's text: its width and the room the control gives
    // it (0 when the toolkit did not place the control or it has no such text).
    int textWidth = 0;
    int textRoom = 0;
};

// The operations as a JSON array, one object per operation in drawing order,
// then one per control.
std::string OpsToJson(const std::vector<DrawOp>& ops, const std::vector<ControlBox>& controls = {});

}  // namespace orvano
