#define GL_GLEXT_PROTOTYPES  // shaders, buffers and transform feedback: OpenGL 2.0 to 3.0
#include "runtime/internal/immediate_buffer.h"

#include <GL/gl.h>
#include <GL/glext.h>

#include <vector>

namespace {

// Mesa's immediate-mode buffer, and the room below which a flush starts a fresh one.
constexpr std::uint32_t kBufferBytes = 512 * 1024;
constexpr std::uint32_t kLeastRoom = 1024;
// One-float points: a batch of this many always runs out of room once, and only once.
constexpr std::uint32_t kPointBytes = 4;
constexpr std::uint32_t kProbePoints = kBufferBytes / kPointBytes;

const char* const kVertexNumberShader =
    "#version 130\n"
    "flat out int vertexNumber;\n"
    "void main() { vertexNumber = gl_VertexID; gl_Position = vec4(0.0); }\n";

// The GL state the probe changes, put back when it goes.
class SavedState {
 public:
  SavedState() {
    glGetIntegerv(GL_CURRENT_PROGRAM, &program_);
    glGetIntegerv(GL_TRANSFORM_FEEDBACK_BUFFER_BINDING, &capture_);
    discard_ = glIsEnabled(GL_RASTERIZER_DISCARD);
  }
  ~SavedState() {
    glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, GLuint(capture_));
    glUseProgram(GLuint(program_));
    if (!discard_) glDisable(GL_RASTERIZER_DISCARD);
  }
  SavedState(const SavedState&) = delete;
  SavedState& operator=(const SavedState&) = delete;

 private:
  GLint program_ = 0;
  GLint capture_ = 0;
  GLboolean discard_ = GL_FALSE;
};

// Where the vertex numbers start again from 0: the points that fitted in the old buffer. 0 when
// the numbers are not two runs from 0, the second one to the end.
std::uint32_t PointsBeforeTheWrap(const std::vector<std::int32_t>& numbers) {
  std::uint32_t wrap = 0;
  while (wrap < numbers.size() && numbers[wrap] == std::int32_t(wrap)) ++wrap;
  if (wrap == 0 || wrap == numbers.size()) return 0;
  for (std::uint32_t k = wrap; k < numbers.size(); ++k)
    if (numbers[k] != std::int32_t(k - wrap)) return 0;
  return wrap;
}

}  // namespace

ImmediateBuffer::ImmediateBuffer() = default;

ImmediateBuffer::~ImmediateBuffer() {
  if (program_) glDeleteProgram(program_);
  if (capture_) glDeleteBuffers(1, &capture_);
}

bool ImmediateBuffer::Ready() {
  if (program_ || broken_) return !broken_;
  const char* version = reinterpret_cast<const char*>(glGetString(GL_VERSION));
  if (!version || version[0] < '3' || version[1] != '.') {
    broken_ = true;
    return false;
  }
  const GLuint shader = glCreateShader(GL_VERTEX_SHADER);
  glShaderSource(shader, 1, &kVertexNumberShader, nullptr);
  glCompileShader(shader);
  program_ = glCreateProgram();
  glAttachShader(program_, shader);
  const char* captured = "vertexNumber";
  glTransformFeedbackVaryings(program_, 1, &captured, GL_INTERLEAVED_ATTRIBS);
  glLinkProgram(program_);
  glDeleteShader(shader);
  GLint linked = GL_FALSE;
  glGetProgramiv(program_, GL_LINK_STATUS, &linked);
  GLint bound = 0;
  glGetIntegerv(GL_TRANSFORM_FEEDBACK_BUFFER_BINDING, &bound);
  glGenBuffers(1, &capture_);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, capture_);
  glBufferData(GL_TRANSFORM_FEEDBACK_BUFFER, kProbePoints * sizeof(std::int32_t), nullptr, GL_STREAM_READ);
  glBindBuffer(GL_TRANSFORM_FEEDBACK_BUFFER, GLuint(bound));
  discarded_.emplace();
  broken_ = linked != GL_TRUE || glGetError() != GL_NO_ERROR;
  return !broken_;
}

void ImmediateBuffer::SendPoints(std::uint32_t count) {
  glBegin(GL_POINTS);
  for (std::uint32_t k = 0; k < count; ++k) glVertexAttrib1f(0, 0.0f);
  glEnd();
  glFlush();  // the batch is drawn (and the buffer's fill counted) here at the latest
}

std::optional<std::uint32_t> ImmediateBuffer::Measure() {
  known_.reset();
  if (!Ready()) return std::nullopt;
  std::vector<std::int32_t> numbers(kProbePoints, -1);
  {
    SavedState saved;
    glEnable(GL_RASTERIZER_DISCARD);
    glUseProgram(program_);
    glBindBufferBase(GL_TRANSFORM_FEEDBACK_BUFFER, 0, capture_);
    glBeginTransformFeedback(GL_POINTS);
    SendPoints(kProbePoints);
    glEndTransformFeedback();
    glGetBufferSubData(GL_TRANSFORM_FEEDBACK_BUFFER, 0, GLsizeiptr(numbers.size() * sizeof(std::int32_t)),
                       numbers.data());
  }
  // The buffer had room for wrap + 1 points (the driver keeps one in hand); the rest went to a new
  // one, which a flush gives up again at once if that left no more room than kLeastRoom.
  const std::uint32_t wrap = PointsBeforeTheWrap(numbers);
  if (wrap == 0 || glGetError() != GL_NO_ERROR) return std::nullopt;
  const std::uint32_t room = (wrap + 1) * kPointBytes;
  if (room <= kLeastRoom || room > kBufferBytes) return std::nullopt;
  const std::uint32_t after = (kProbePoints - wrap) * kPointBytes;
  known_ = kBufferBytes - after <= kLeastRoom ? 0 : after;
  return kBufferBytes - room;
}

bool ImmediateBuffer::Place(std::uint32_t filled) {
  if (!known_ || filled % kPointBytes != 0 || kBufferBytes - filled <= kLeastRoom) return false;
  // The driver takes the points but draws nothing: only the fill matters.
  discarded_->Begin();
  if (filled < *known_) {  // fill up to just the least room, which starts a fresh buffer
    SendPoints((kBufferBytes - kLeastRoom - *known_) / kPointBytes);
    known_ = 0;
  }
  if (filled > *known_) SendPoints((filled - *known_) / kPointBytes);
  discarded_->End();
  known_.reset();
  return true;
}
