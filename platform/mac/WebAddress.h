#pragma once

// Whether a text the editor asks to open is an address with a scheme
// ("https://…", "mailto:…") rather than a file path: a scheme of a letter
// and then letters, digits, '+', '-' or '.', followed by ':'. A path that
// merely contains "http" (say "/Users/me/httpdocs/index.html") is a path.
bool IsWebAddress(const char* text);
