#include "app/render_recorder.h"

#include "astro/json.h"

namespace orvano {

namespace {

void AppendColour(std::string& out, Colour colour) {
    out += "[" + std::to_string(colour.red) + "," + std::to_string(colour.green) + "," +
           std::to_string(colour.blue) + "]";
}

void AppendBox(std::string& out, const Box& box) {
    out += ",\"box\":[" + std::to_string(box.x) + "," + std::to_string(box.y) + "," +
           std::to_string(box.width) + "," + std::to_string(box.height) + "]";
}

const char* AlignName(TextAlign align) {
    switch (align) {
        case TextAlign::Centre:
            return "center";
        case TextAlign::Right:
            return "right";
        case TextAlign::Left:
            break;
    }
    return "left";
}

void AppendTextFields(std::string& out, const DrawOp& op) {
    out += std::string(",\"align\":\"") + AlignName(op.align) + "\"";
    out += ",\"text\":";
    out += JsonString(op.text);
    out += ",\"font\":{\"face\":";
    out += JsonString(op.font.face);
    out += ",\"height\":" + std::to_string(op.font.height) +
           ",\"weight\":" + std::to_string(op.font.weight) + "}";
    out += ",\"color\":";
    AppendColour(out, op.colour);
}

}  // namespace

std::string OpsToJson(const std::vector<DrawOp>& ops, const std::vector<ControlBox>& controls) {
    std::string out = "[";
    for (size_t i = 0; i < ops.size(); ++i) {
        const DrawOp& op = ops[i];
        out += (i == 0) ? "\n" : ",\n";
        switch (op.kind) {
            case DrawOp::Kind::Text:
                out += "{\"op\":\"text\",\"x\":" + std::to_string(op.x) +
                       ",\"y\":" + std::to_string(op.y);
                AppendTextFields(out, op);
                break;
            case DrawOp::Kind::TextInRect:
                out += "{\"op\":\"text_rect\",\"left\":" + std::to_string(op.rect.left) +
                       ",\"top\":" + std::to_string(op.rect.top) +
                       ",\"right\":" + std::to_string(op.rect.right) +
                       ",\"bottom\":" + std::to_string(op.rect.bottom);
                AppendTextFields(out, op);
                break;
            case DrawOp::Kind::Line:
                out += "{\"op\":\"line\",\"x1\":" + std::to_string(op.x) +
                       ",\"y1\":" + std::to_string(op.y) + ",\"x2\":" + std::to_string(op.x2) +
                       ",\"y2\":" + std::to_string(op.y2) +
                       ",\"width\":" + std::to_string(op.penWidth) + ",\"color\":";
                AppendColour(out, op.colour);
                break;
            case DrawOp::Kind::Bitmap:
            case DrawOp::Kind::Icon:
                out += std::string("{\"op\":\"") +
                       (op.kind == DrawOp::Kind::Bitmap ? "bitmap" : "icon") +
                       "\",\"id\":" + std::to_string(op.resourceId) +
                       ",\"x\":" + std::to_string(op.x) + ",\"y\":" + std::to_string(op.y);
                break;
        }
        AppendBox(out, op.box);
        out += "}";
    }
    for (size_t i = 0; i < controls.size(); ++i) {
        out += (ops.empty() && i == 0) ? "\n" : ",\n";
        out += "{\"op\":\"control\",\"id\":" + std::to_string(controls[i].id) +
               ",\"name\":" + JsonString(controls[i].name);
        AppendBox(out, controls[i].box);
        if (controls[i].textRoom > 0) {
            out += ",\"text\":[" + std::to_string(controls[i].textWidth) + "," +
                   std::to_string(controls[i].textRoom) + "]";
        }
        out += "}";
    }
    out += ops.empty() && controls.empty() ? "]\n" : "\n]\n";
    return out;
}

}  // namespace orvano
