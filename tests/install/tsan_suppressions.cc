// The system downloader (download type 2) runs on GIO, whose mutexes and conditions are
// futex calls that the thread sanitizer cannot see: it reports the hand-over between GIO's
// worker pool and the calling thread as races. Only reports that involve those libraries
// are suppressed.

extern "C" const char* __tsan_default_suppressions() {
    return "race:libglib-2.0.so\n"
           "race:libgobject-2.0.so\n"
           "race:libgio-2.0.so\n"
           "race:libproxy.so\n"
           "race:libsoup-3.0.so\n"
           "race:libgiognutls.so\n"
           "race:libgnutls.so\n";
}
