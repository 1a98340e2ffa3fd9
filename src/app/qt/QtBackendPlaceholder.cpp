// The Qt backend's sources join this library as they are written.
namespace zqar::qt {
void qtBackendLinked() {}
} // namespace zqar::qt
