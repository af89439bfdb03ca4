// A volume control's level meter, as a program of its own for the call tests: it records a
// source in peak-detect mode, as a desktop's volume control does for each of its bars, until
// it is ended. Usage: level_meter SOURCE
#include <pulse/pulseaudio.h>

#include <cstdio>
#include <cstdlib>

namespace {

void OnContextState(pa_context* context, void* data) {
  const auto* source = static_cast<const char*>(data);
  const pa_context_state_t state = pa_context_get_state(context);
  if (state == PA_CONTEXT_FAILED || state == PA_CONTEXT_TERMINATED) {
    std::fprintf(stderr, "level_meter: %s\n", pa_strerror(pa_context_errno(context)));
    std::exit(1);
  }
  if (state != PA_CONTEXT_READY) return;
  // What a volume control asks for: one float a few dozen times a second, peaks only.
  const pa_sample_spec spec{PA_SAMPLE_FLOAT32LE, 25, 1};
  pa_stream* stream = pa_stream_new(context, "Peak detect", &spec, nullptr);
  pa_buffer_attr attr{};
  attr.maxlength = static_cast<uint32_t>(-1);
  attr.fragsize = sizeof(float);
  const auto flags = static_cast<pa_stream_flags_t>(PA_STREAM_PEAK_DETECT |
                                                    PA_STREAM_DONT_MOVE |
                                                    PA_STREAM_ADJUST_LATENCY);
  pa_stream_set_read_callback(
      stream,
      [](pa_stream* s, size_t, void*) {
        const void* data = nullptr;
        size_t bytes = 0;
        while (pa_stream_peek(s, &data, &bytes) == 0 && bytes > 0) pa_stream_drop(s);
      },
      nullptr);
  if (pa_stream_connect_record(stream, source, &attr, flags) < 0) {
    std::fprintf(stderr, "level_meter: %s\n", pa_strerror(pa_context_errno(context)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: level_meter SOURCE\n");
    return 2;
  }
  pa_mainloop* loop = pa_mainloop_new();
  pa_context* context = pa_context_new(pa_mainloop_get_api(loop), "Volume Control");
  pa_context_set_state_callback(context, &OnContextState, argv[1]);
  if (pa_context_connect(context, nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0) return 1;
  int result = 0;
  pa_mainloop_run(loop, &result);
  return result;
}
