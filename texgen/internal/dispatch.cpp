#include "texgen/internal/dispatch.h"

#include <initializer_list>
#include <string>

#include "texgen/internal/colour_ops.h"
#include "texgen/internal/combiners.h"
#include "texgen/internal/distortions.h"
#include "texgen/internal/filters.h"
#include "texgen/internal/generators.h"
#include "texgen/internal/layers.h"
#include "texgen/internal/numeric.h"
#include "texgen/internal/oplist.h"

namespace {

using enum ArgKind;

std::int32_t Int(float v) { return ParamInt(v); }
bool Flag(float v) { return ParamFlag(v); }

constexpr OpArg kSourceArg{kLayer, 0, "source"};
constexpr OpArg kTargetArg{kLayer, 1, "target"};

constexpr OpInfo Op(std::int32_t code, const char* name, std::initializer_list<OpArg> args,
                    void (*run)(const OpParams&)) {
  OpInfo op{code, name, static_cast<int>(args.size()), {}, run};
  int i = 0;
  for (const OpArg& arg : args) op.args[i++] = arg;
  return op;
}

template <void (*Combine)(int, int, int, float, float)>
void RunCombiner(const OpParams& p) {
  Combine(Int(p[0]), Int(p[1]), Int(p[2]), p[3], p[4]);
}

// Codes 10 to 17: source1, source2, target, weight1, weight2.
template <void (*Combine)(int, int, int, float, float)>
constexpr OpInfo CombinerOp(std::int32_t code, const char* name) {
  return Op(code, name,
            {{kLayer, 0, "source1"},
             {kLayer, 1, "source2"},
             {kLayer, 2, "target"},
             {kReal, 3, "weight1"},
             {kReal, 4, "weight2"}},
            RunCombiner<Combine>);
}

template <void (*Change)(int, int, float, float, float)>
void RunThreeReals(const OpParams& p) {
  Change(Int(p[0]), Int(p[1]), p[2], p[3], p[4]);
}

// Source, target and three reals named `a`, `b` and `c`.
template <void (*Change)(int, int, float, float, float)>
constexpr OpInfo ThreeRealsOp(std::int32_t code, const char* name, const char* a, const char* b,
                              const char* c) {
  return Op(code, name, {kSourceArg, kTargetArg, {kReal, 2, a}, {kReal, 3, b}, {kReal, 4, c}},
            RunThreeReals<Change>);
}

template <void (*Filter)(int, int)>
void RunTwoLayers(const OpParams& p) {
  Filter(Int(p[0]), Int(p[1]));
}

// Source and target only.
template <void (*Filter)(int, int)>
constexpr OpInfo TwoLayerOp(std::int32_t code, const char* name) {
  return Op(code, name, {kSourceArg, kTargetArg}, RunTwoLayers<Filter>);
}

template <void (*Filter)(int, int, std::int32_t)>
void RunTwoLayersInt(const OpParams& p) {
  Filter(Int(p[0]), Int(p[1]), Int(p[2]));
}

// Source, target and one integer named `intName`.
template <void (*Filter)(int, int, std::int32_t)>
constexpr OpInfo TwoLayerIntOp(std::int32_t code, const char* name, const char* intName) {
  return Op(code, name, {kSourceArg, kTargetArg, {kInt, 2, intName}}, RunTwoLayersInt<Filter>);
}

// Codes 9, 18, 19 and 27 to 29 have no operation.
constexpr OpInfo kOps[] = {
    Op(0, "subPlasma",
       {{kLayer, 0, "layer"},
        {kInt, 1, "step"},
        {kInt, 2, "seed"},
        {kInt, 3, "range"},
        {kFlag, 4, "colour"}},
       [](const OpParams& p) {
         subPlasma(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3]), Flag(p[4]));
       }),
    Op(1, "sinePlasma",
       {{kLayer, 0, "layer"}, {kReal, 1, "freqX"}, {kReal, 2, "freqY"}, {kReal, 3, "amplitude"}},
       [](const OpParams& p) { sinePlasma(Int(p[0]), p[1], p[2], p[3]); }),
    Op(2, "perlinNoise",
       {{kLayer, 0, "layer"},
        {kInt, 1, "step"},
        {kInt, 2, "seed"},
        {kInt, 3, "amplitude"},
        {kInt, 4, "persistence"},
        {kInt, 5, "octaves"},
        {kFlag, 6, "colour"}},
       [](const OpParams& p) {
         perlinNoise(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3]), Int(p[4]), Int(p[5]), Flag(p[6]));
       }),
    Op(3, "particle", {{kLayer, 0, "layer"}, {kReal, 1, "falloff"}},
       [](const OpParams& p) { particle(Int(p[0]), p[1]); }),
    Op(4, "colorLayer",
       {{kLayer, 0, "layer"}, {kInt, 1, "red"}, {kInt, 2, "green"}, {kInt, 3, "blue"}},
       [](const OpParams& p) { colorLayer(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3])); }),
    Op(5, "checkerBoardLayer",
       {{kLayer, 0, "layer"},
        {kInt, 1, "cellWidth"},
        {kInt, 2, "cellHeight"},
        {kInt, 3, "red1"},
        {kInt, 4, "green1"},
        {kInt, 5, "blue1"},
        {kInt, 6, "red2"},
        {kInt, 7, "green2"},
        {kInt, 8, "blue2"}},
       [](const OpParams& p) {
         checkerBoardLayer(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3]), Int(p[4]), Int(p[5]),
                           Int(p[6]), Int(p[7]), Int(p[8]));
       }),
    Op(6, "blobsLayer",
       {{kLayer, 0, "layer"}, {kInt, 1, "seed"}, {kInt, 2, "count"}, {kFlag, 3, "colour"}},
       [](const OpParams& p) { blobsLayer(Int(p[0]), Int(p[1]), Int(p[2]), Flag(p[3])); }),
    Op(7, "mandelBrot",
       {{kLayer, 0, "layer"},
        {kReal, 1, "left"},
        {kDifference, 3, "width", 1},
        {kReal, 2, "top"},
        {kDifference, 4, "height", 2},
        {kFixed, 0, "bailout"}},
       [](const OpParams& p) {
         mandelBrot(Int(p[0]), p[1], MandelSpan(p[3], p[1]), p[2], MandelSpan(p[4], p[2]),
                    kMandelBailout);
       }),
    Op(8, "cellMachine", {{kLayer, 0, "layer"}, {kInt, 1, "seed"}, {kInt, 2, "rule"}},
       [](const OpParams& p) { cellMachine(Int(p[0]), Int(p[1]), Int(p[2])); }),
    CombinerOp<addLayers>(10, "addLayers"),
    CombinerOp<mulLayers>(11, "mulLayers"),
    CombinerOp<randCombineLayers>(12, "randCombineLayers"),
    CombinerOp<minCombineLayers>(13, "minCombineLayers"),
    CombinerOp<maxCombineLayers>(14, "maxCombineLayers"),
    CombinerOp<xorLayers>(15, "xorLayers"),
    CombinerOp<orLayers>(16, "orLayers"),
    CombinerOp<andLayers>(17, "andLayers"),
    ThreeRealsOp<scaleLayerRGB>(20, "scaleLayerRGB", "red", "green", "blue"),
    ThreeRealsOp<scaleLayerHSV>(21, "scaleLayerHSV", "hue", "saturation", "value"),
    Op(22, "adjustLayerRGB",
       {kSourceArg, kTargetArg, {kInt, 2, "red"}, {kInt, 3, "green"}, {kInt, 4, "blue"}},
       [](const OpParams& p) {
         adjustLayerRGB(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3]), Int(p[4]));
       }),
    ThreeRealsOp<adjustLayerHSV>(23, "adjustLayerHSV", "hue", "saturation", "value"),
    ThreeRealsOp<sineLayerRGB>(24, "sineLayerRGB", "red", "green", "blue"),
    TwoLayerOp<equalizeRGB>(25, "equalizeRGB"),
    TwoLayerOp<stretchRGB>(26, "stretchRGB"),
    TwoLayerOp<invertLayer>(30, "invertLayer"),
    TwoLayerOp<embossLayer>(31, "embossLayer"),
    TwoLayerIntOp<woodLayer>(32, "woodLayer", "bits"),
    TwoLayerOp<blurLayer>(33, "blurLayer"),
    TwoLayerOp<sharpenLayer>(34, "sharpenLayer"),
    TwoLayerOp<edgeHLayer>(35, "edgeHLayer"),
    TwoLayerOp<edgeVLayer>(36, "edgeVLayer"),
    TwoLayerIntOp<motionBlur>(37, "motionBlur", "radius"),
    TwoLayerIntOp<makeTilable>(38, "makeTilable", "border"),
    TwoLayerOp<medianLayer>(39, "medianLayer"),
    Op(40, "sineDistort",
       {kSourceArg,
        kTargetArg,
        {kReal, 2, "freqY"},
        {kReal, 3, "ampX"},
        {kReal, 4, "freqX"},
        {kReal, 5, "ampY"}},
       [](const OpParams& p) { sineDistort(Int(p[0]), Int(p[1]), p[2], p[3], p[4], p[5]); }),
    Op(41, "twirlLayer",
       {kSourceArg, kTargetArg, {kReal, 2, "strength"}, {kReal, 3, "radiusScale"}},
       [](const OpParams& p) { twirlLayer(Int(p[0]), Int(p[1]), p[2], p[3]); }),
    Op(42, "mapDistort",
       {{kLayer, 0, "source"},
        {kLayer, 1, "map"},
        {kLayer, 2, "target"},
        {kReal, 3, "scaleX"},
        {kReal, 4, "scaleY"}},
       [](const OpParams& p) { mapDistort(Int(p[0]), Int(p[1]), Int(p[2]), p[3], p[4]); }),
    TwoLayerOp<tileLayer>(43, "tileLayer"),
    Op(44, "noiseDistort", {kSourceArg, kTargetArg, {kInt, 2, "seed"}, {kInt, 3, "bits"}},
       [](const OpParams& p) { noiseDistort(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3])); }),
    Op(45, "moveDistort", {kSourceArg, kTargetArg, {kInt, 2, "dx"}, {kInt, 3, "dy"}},
       [](const OpParams& p) { moveDistort(Int(p[0]), Int(p[1]), Int(p[2]), Int(p[3])); }),
    TwoLayerIntOp<kaleidLayer>(46, "kaleidLayer", "quadrant"),
    Op(47, "tunnelDistort", {kSourceArg, kTargetArg, {kReal, 2, "depth"}},
       [](const OpParams& p) { tunnelDistort(Int(p[0]), Int(p[1]), p[2]); }),
    TwoLayerOp<sculptureLayer>(48, "sculptureLayer"),
    TwoLayerOp<logPolLayer>(49, "logPolLayer"),
    TwoLayerOp<erodeLayer>(50, "erodeLayer"),
    TwoLayerOp<dilateLayer>(51, "dilateLayer"),
};

}  // namespace

const OpInfo* FindOp(std::int32_t code) {
  for (const OpInfo& op : kOps) {
    if (op.code == code) return &op;
  }
  return nullptr;
}

const OpInfo* FindOpByName(std::string_view name) {
  for (const OpInfo& op : kOps) {
    if (name == op.name) return &op;
  }
  return nullptr;
}

TexgenStatus CheckOpLayers(std::int32_t code, const OpParams& params) {
  const OpInfo* op = FindOp(code);
  if (op == nullptr) return TexgenStatus::Ok();
  for (int i = 0; i < op->argCount; ++i) {
    const OpArg& arg = op->args[i];
    if (arg.kind != kLayer) continue;
    const std::int32_t layer = ParamInt(params[arg.param]);
    if (!ValidLayer(layer)) {
      return TexgenStatus::Fail(std::string(op->name) + ": " + arg.name + " layer " +
                                std::to_string(layer) + " is outside 0 to 5");
    }
  }
  return TexgenStatus::Ok();
}

TexgenStatus RunOp(std::int32_t code, const OpParams& params) {
  const OpInfo* op = FindOp(code);
  if (op == nullptr) return TexgenStatus::Ok();
  if (!LayersReady()) return TexgenStatus::Fail(kLayersNotAllocated);
  if (TexgenStatus s = CheckOpLayers(code, params); !s.ok()) return s;
  op->run(params);
  return TexgenStatus::Ok();
}

TexgenStatus RunList(int list, std::int32_t count) {
  const OpList& ops = generatorState.lists[list];
  for (int slot = 0; slot < count; ++slot) {
    TexgenStatus s = RunOp(ops.codes[slot], ops.params[slot]);
    if (!s.ok()) return TexgenStatus::Fail(SlotName(list, slot) + ": " + s.error);
  }
  return TexgenStatus::Ok();
}
