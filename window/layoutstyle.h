#pragma once

class QStyle;

namespace isd {

// The application's style as the fixed layout needs it: the lists' slim
// drop-down button, and check-box squares that fit boxes lower than the
// style's square. Made once per application style, from that style's name,
// and owned by the application; nullptr when the style cannot be made by
// name (the controls then keep the application's style as it is).
QStyle *layoutStyle();

} // namespace isd
