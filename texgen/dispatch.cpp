#include "texgen/dispatch.h"

#include <string>

#include "texgen/colour_ops.h"
#include "texgen/combiners.h"
#include "texgen/distortions.h"
#include "texgen/filters.h"
#include "texgen/generators.h"
#include "texgen/layers.h"
#include "texgen/numeric.h"

namespace {

using K = ArgKind;

std::int32_t I(float v) { return ParamInt(v); }
bool F(float v) { return ParamFlag(v); }

// clang-format off
#define TWO_LAYERS {K::Layer, 0, "source"}, {K::Layer, 1, "target"}
#define COMBINER_ARGS                                                             \
  5, {{K::Layer, 0, "source1"}, {K::Layer, 1, "source2"}, {K::Layer, 2, "target"}, \
      {K::Real, 3, "weight1"}, {K::Real, 4, "weight2"}}
#define THREE_REALS(a, b, c) {K::Real, 2, a}, {K::Real, 3, b}, {K::Real, 4, c}
// clang-format on

template <void (*Op)(int, int, int, float, float)>
void RunCombiner(const OpParams& p) {
  Op(I(p[0]), I(p[1]), I(p[2]), p[3], p[4]);
}

template <void (*Op)(int, int, float, float, float)>
void RunThreeReals(const OpParams& p) {
  Op(I(p[0]), I(p[1]), p[2], p[3], p[4]);
}

template <void (*Op)(int, int)>
void RunTwoLayers(const OpParams& p) {
  Op(I(p[0]), I(p[1]));
}

template <void (*Op)(int, int, std::int32_t)>
void RunTwoLayersInt(const OpParams& p) {
  Op(I(p[0]), I(p[1]), I(p[2]));
}

const OpInfo kOps[] = {
    {0,
     "subPlasma",
     5,
     {{K::Layer, 0, "layer"},
      {K::Int, 1, "step"},
      {K::Int, 2, "seed"},
      {K::Int, 3, "range"},
      {K::Flag, 4, "colour"}},
     [](const OpParams& p) { subPlasma(I(p[0]), I(p[1]), I(p[2]), I(p[3]), F(p[4])); }},
    {1,
     "sinePlasma",
     4,
     {{K::Layer, 0, "layer"},
      {K::Real, 1, "freqX"},
      {K::Real, 2, "freqY"},
      {K::Real, 3, "amplitude"}},
     [](const OpParams& p) { sinePlasma(I(p[0]), p[1], p[2], p[3]); }},
    {2,
     "perlinNoise",
     7,
     {{K::Layer, 0, "layer"},
      {K::Int, 1, "step"},
      {K::Int, 2, "seed"},
      {K::Int, 3, "amplitude"},
      {K::Int, 4, "persistence"},
      {K::Int, 5, "octaves"},
      {K::Flag, 6, "colour"}},
     [](const OpParams& p) {
       perlinNoise(I(p[0]), I(p[1]), I(p[2]), I(p[3]), I(p[4]), I(p[5]), F(p[6]));
     }},
    {3,
     "particle",
     2,
     {{K::Layer, 0, "layer"}, {K::Real, 1, "falloff"}},
     [](const OpParams& p) { particle(I(p[0]), p[1]); }},
    {4,
     "colorLayer",
     4,
     {{K::Layer, 0, "layer"}, {K::Int, 1, "red"}, {K::Int, 2, "green"}, {K::Int, 3, "blue"}},
     [](const OpParams& p) { colorLayer(I(p[0]), I(p[1]), I(p[2]), I(p[3])); }},
    {5,
     "checkerBoardLayer",
     9,
     {{K::Layer, 0, "layer"},
      {K::Int, 1, "cellWidth"},
      {K::Int, 2, "cellHeight"},
      {K::Int, 3, "red1"},
      {K::Int, 4, "green1"},
      {K::Int, 5, "blue1"},
      {K::Int, 6, "red2"},
      {K::Int, 7, "green2"},
      {K::Int, 8, "blue2"}},
     [](const OpParams& p) {
       checkerBoardLayer(I(p[0]), I(p[1]), I(p[2]), I(p[3]), I(p[4]), I(p[5]), I(p[6]), I(p[7]),
                         I(p[8]));
     }},
    {6,
     "blobsLayer",
     4,
     {{K::Layer, 0, "layer"}, {K::Int, 1, "seed"}, {K::Int, 2, "count"}, {K::Flag, 3, "colour"}},
     [](const OpParams& p) { blobsLayer(I(p[0]), I(p[1]), I(p[2]), F(p[3])); }},
    {7,
     "mandelBrot",
     6,
     {{K::Layer, 0, "layer"},
      {K::Real, 1, "left"},
      {K::Difference, 3, "width", 1},
      {K::Real, 2, "top"},
      {K::Difference, 4, "height", 2},
      {K::Fixed, 0, "bailout"}},
     [](const OpParams& p) {
       mandelBrot(I(p[0]), p[1], MandelSpan(p[3], p[1]), p[2], MandelSpan(p[4], p[2]),
                  kMandelBailout);
     }},
    {8,
     "cellMachine",
     3,
     {{K::Layer, 0, "layer"}, {K::Int, 1, "seed"}, {K::Int, 2, "rule"}},
     [](const OpParams& p) { cellMachine(I(p[0]), I(p[1]), I(p[2])); }},
    {10, "addLayers", COMBINER_ARGS, RunCombiner<addLayers>},
    {11, "mulLayers", COMBINER_ARGS, RunCombiner<mulLayers>},
    {12, "randCombineLayers", COMBINER_ARGS, RunCombiner<randCombineLayers>},
    {13, "minCombineLayers", COMBINER_ARGS, RunCombiner<minCombineLayers>},
    {14, "maxCombineLayers", COMBINER_ARGS, RunCombiner<maxCombineLayers>},
    {15, "xorLayers", COMBINER_ARGS, RunCombiner<xorLayers>},
    {16, "orLayers", COMBINER_ARGS, RunCombiner<orLayers>},
    {17, "andLayers", COMBINER_ARGS, RunCombiner<andLayers>},
    {20,
     "scaleLayerRGB",
     5,
     {TWO_LAYERS, THREE_REALS("red", "green", "blue")},
     RunThreeReals<scaleLayerRGB>},
    {21,
     "scaleLayerHSV",
     5,
     {TWO_LAYERS, THREE_REALS("hue", "saturation", "value")},
     RunThreeReals<scaleLayerHSV>},
    {22,
     "adjustLayerRGB",
     5,
     {TWO_LAYERS, {K::Int, 2, "red"}, {K::Int, 3, "green"}, {K::Int, 4, "blue"}},
     [](const OpParams& p) { adjustLayerRGB(I(p[0]), I(p[1]), I(p[2]), I(p[3]), I(p[4])); }},
    {23,
     "adjustLayerHSV",
     5,
     {TWO_LAYERS, THREE_REALS("hue", "saturation", "value")},
     RunThreeReals<adjustLayerHSV>},
    {24,
     "sineLayerRGB",
     5,
     {TWO_LAYERS, THREE_REALS("red", "green", "blue")},
     RunThreeReals<sineLayerRGB>},
    {25, "equalizeRGB", 2, {TWO_LAYERS}, RunTwoLayers<equalizeRGB>},
    {26, "stretchRGB", 2, {TWO_LAYERS}, RunTwoLayers<stretchRGB>},
    {30, "invertLayer", 2, {TWO_LAYERS}, RunTwoLayers<invertLayer>},
    {31, "embossLayer", 2, {TWO_LAYERS}, RunTwoLayers<embossLayer>},
    {32, "woodLayer", 3, {TWO_LAYERS, {K::Int, 2, "bits"}}, RunTwoLayersInt<woodLayer>},
    {33, "blurLayer", 2, {TWO_LAYERS}, RunTwoLayers<blurLayer>},
    {34, "sharpenLayer", 2, {TWO_LAYERS}, RunTwoLayers<sharpenLayer>},
    {35, "edgeHLayer", 2, {TWO_LAYERS}, RunTwoLayers<edgeHLayer>},
    {36, "edgeVLayer", 2, {TWO_LAYERS}, RunTwoLayers<edgeVLayer>},
    {37, "motionBlur", 3, {TWO_LAYERS, {K::Int, 2, "radius"}}, RunTwoLayersInt<motionBlur>},
    {38, "makeTilable", 3, {TWO_LAYERS, {K::Int, 2, "border"}}, RunTwoLayersInt<makeTilable>},
    {39, "medianLayer", 2, {TWO_LAYERS}, RunTwoLayers<medianLayer>},
    {40,
     "sineDistort",
     6,
     {TWO_LAYERS,
      {K::Real, 2, "freqY"},
      {K::Real, 3, "ampX"},
      {K::Real, 4, "freqX"},
      {K::Real, 5, "ampY"}},
     [](const OpParams& p) { sineDistort(I(p[0]), I(p[1]), p[2], p[3], p[4], p[5]); }},
    {41,
     "twirlLayer",
     4,
     {TWO_LAYERS, {K::Real, 2, "strength"}, {K::Real, 3, "radiusScale"}},
     [](const OpParams& p) { twirlLayer(I(p[0]), I(p[1]), p[2], p[3]); }},
    {42,
     "mapDistort",
     5,
     {{K::Layer, 0, "source"},
      {K::Layer, 1, "map"},
      {K::Layer, 2, "target"},
      {K::Real, 3, "scaleX"},
      {K::Real, 4, "scaleY"}},
     [](const OpParams& p) { mapDistort(I(p[0]), I(p[1]), I(p[2]), p[3], p[4]); }},
    {43, "tileLayer", 2, {TWO_LAYERS}, RunTwoLayers<tileLayer>},
    {44,
     "noiseDistort",
     4,
     {TWO_LAYERS, {K::Int, 2, "seed"}, {K::Int, 3, "bits"}},
     [](const OpParams& p) { noiseDistort(I(p[0]), I(p[1]), I(p[2]), I(p[3])); }},
    {45,
     "moveDistort",
     4,
     {TWO_LAYERS, {K::Int, 2, "dx"}, {K::Int, 3, "dy"}},
     [](const OpParams& p) { moveDistort(I(p[0]), I(p[1]), I(p[2]), I(p[3])); }},
    {46, "kaleidLayer", 3, {TWO_LAYERS, {K::Int, 2, "quadrant"}}, RunTwoLayersInt<kaleidLayer>},
    {47,
     "tunnelDistort",
     3,
     {TWO_LAYERS, {K::Real, 2, "depth"}},
     [](const OpParams& p) { tunnelDistort(I(p[0]), I(p[1]), p[2]); }},
    {48, "sculptureLayer", 2, {TWO_LAYERS}, RunTwoLayers<sculptureLayer>},
    {49, "logPolLayer", 2, {TWO_LAYERS}, RunTwoLayers<logPolLayer>},
    {50, "erodeLayer", 2, {TWO_LAYERS}, RunTwoLayers<erodeLayer>},
    {51, "dilateLayer", 2, {TWO_LAYERS}, RunTwoLayers<dilateLayer>},
};

#undef TWO_LAYERS
#undef COMBINER_ARGS
#undef THREE_REALS

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
    if (arg.kind != ArgKind::Layer) continue;
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
  if (!LayersReady()) return TexgenStatus::Fail("the layers are not allocated (InitLayers first)");
  if (TexgenStatus s = CheckOpLayers(code, params); !s.ok()) return s;
  op->run(params);
  return TexgenStatus::Ok();
}
