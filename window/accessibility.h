#pragma once

namespace isd {

// Installs the accessibility factory (once): the window is a frame to
// assistive tools, and every ValueLabel offers the Text interface, so that a
// screen reader reads its value ("1", "2621") besides its name
// ("CFG0 D13 AIPD", "CFG0 hexadecimal word").
void installAccessibility();

} // namespace isd
