// The writer's loads and stores are the shared ones of base/bytes.h: on-disk
// integers are little-endian; B+ tree keys are big-endian so that they sort
// bytewise.
#pragma once

#include "base/bytes.h"

namespace esewriter {

using edb::AppendBe32;
using edb::AppendLe16;
using edb::AppendLe32;
using edb::LoadLe16;
using edb::LoadLe32;
using edb::StoreBe32;
using edb::StoreLe16;
using edb::StoreLe32;
using edb::StoreLe64;

}  // namespace esewriter
