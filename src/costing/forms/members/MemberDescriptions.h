#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// The costing tables of boards and papers, the materials priced per square
// metre besides the inks, glues, finishes and cutting operations, as
// members of the code table form.

CodeTableDescription boardsMember(); // TORCF001, PAPEIS
CodeTableDescription varnishesMember(); // TORCF003, VERNIZES
CodeTableDescription gluesMember(); // TORCF004, COLAS
CodeTableDescription laminatingFilmMember(); // TORCF005, FILMEPLAS
CodeTableDescription windowPvcMember(); // TORCF006, PVC
CodeTableDescription finishesMember(); // TORCF007, ACABAMENTO
CodeTableDescription cuttingOperationsMember(); // TORCF008, OPERCORTE

} // namespace kv::costing
