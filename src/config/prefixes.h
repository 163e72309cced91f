#pragma once

// Buttons and labels draw an interface text with prefix processing: "&&" draws one ampersand, a
// single "&" is not drawn and underlines the character after it (the access key Alt presses).
// The window's own text, which the taskbar and screen readers show, draws no prefixes: this turns
// `text` into the text as drawn, in place, and returns it.
wchar_t* RemovePrefixes(wchar_t* text) noexcept;
