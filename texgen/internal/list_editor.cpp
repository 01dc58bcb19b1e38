#include "texgen/internal/list_editor.h"

#include <string>

#include "texgen/internal/dispatch.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/oplist.h"

namespace {

constexpr std::int32_t kFirstNonGenerator = 10;
constexpr std::int32_t kColorLayerCode = 4;

TexgenStatus CheckList(int list) {
  if (list >= 0 && list < kListCount) return TexgenStatus::Ok();
  return TexgenStatus::Fail("list " + std::to_string(list) + " is outside 0 to 4");
}

TexgenStatus CheckSlotOp(int list, int slot, std::int32_t code, const OpParams& params) {
  if (slot >= kListSlots) {
    return TexgenStatus::Fail(SlotName(list, slot) + ": slots are 0 to " +
                              std::to_string(kListSlots - 1));
  }
  if (TexgenStatus s = CheckOpLayers(code, params); !s.ok()) {
    return TexgenStatus::Fail(SlotName(list, slot) + ": " + s.error);
  }
  return TexgenStatus::Ok();
}

void Store(OpList& list, int slot, std::int32_t code, const OpParams& params) {
  list.codes[slot] = code;
  list.params[slot] = params;
}

}  // namespace

TexgenStatus AddOp(int list, bool run, std::int32_t code, const OpParams& params, int position) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (!LayersReady()) return TexgenStatus::Fail(kLayersNotAllocated);
  OpList& ops = generatorState.lists[list];
  if (position >= 0) {
    if (TexgenStatus s = CheckSlotOp(list, position, code, params); !s.ok()) return s;
    Store(ops, position, code, params);
    return TexgenStatus::Ok();
  }
  const int slot = code < kFirstNonGenerator ? 0 : ops.count;
  if (slot >= kListSlots) {
    return TexgenStatus::Fail("list " + std::to_string(list) + " is full (" +
                              std::to_string(kListSlots) + " operations)");
  }
  if (TexgenStatus s = CheckSlotOp(list, slot, code, params); !s.ok()) return s;
  Store(ops, slot, code, params);
  ops.count = slot + 1;
  if (!run) return TexgenStatus::Ok();
  TexgenStatus s = RunOp(code, params);
  if (!s.ok()) s.error = SlotName(list, slot) + ": " + s.error;
  return s;
}

TexgenStatus SetOp(int list, int position, std::int32_t code, const OpParams& params) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (position < 0) {
    return TexgenStatus::Fail(SlotName(list, position) + ": slots are 0 to " +
                              std::to_string(kListSlots - 1));
  }
  return AddOp(list, false, code, params, position);
}

TexgenStatus RemoveLastOp(int list, bool rerun) {
  if (TexgenStatus s = CheckList(list); !s.ok()) return s;
  if (!LayersReady()) return TexgenStatus::Fail(kLayersNotAllocated);
  OpList& ops = generatorState.lists[list];
  if (TexgenStatus s = CheckListCount(list, ops.count); !s.ok()) return s;
  if (ops.count > 0) --ops.count;
  if (!rerun) return TexgenStatus::Ok();
  if (ops.count < 1) return RunOp(kColorLayerCode, OpParams{static_cast<float>(list), 0, 0, 0});
  return RunList(list, ops.count);
}
