#pragma once

class LICE_IBitmap;

// One of the editor's PNG images, decoded from the data compiled into the
// plug-in: by resource ID, or failing that by name. Null when there is none.
// The caller owns the result. [any thread]
LICE_IBitmap* LoadEmbeddedEditorImage(int id, const char* name);
