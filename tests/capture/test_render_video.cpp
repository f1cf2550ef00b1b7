// scripts/render_video.sh against one tarvik-render run over the same span, which starts off
// the frame grid: segments rendered here, and segments rendered over real ssh by a remote on
// this disk and one with a disk of its own (an sshd of the test's own on 127.0.0.1).
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include "tests/support/process_runner.h"
#include "tests/support/temp_files.h"
#include "tests/support/test_paths.h"

namespace fs = std::filesystem;

namespace {

const std::vector<std::string> offGridClip = {"--from", "1.01", "--to", "1.25", "--fps", "30", "--size", "32x18",
                                              "--quality", "low", "--render", "16"};

// The checksum of every decoded video frame and of the decoded sound, without timestamps.
std::string contentHashes(const fs::path& file) {
  const std::string in = "ffmpeg -v error -i '" + file.string() + "' ";
  return shellOutput(in + "-map 0:v -f framemd5 - | grep -v '^#' | awk -F, '{print $NF}'") +
         shellOutput(in + "-map 0:a -f md5 -");
}

// The clip rendered by one tarvik-render run, the reference every joined video must equal.
const std::string& oneRunHashes() {
  static const std::string hashes = [] {
    TempDir dir;
    std::vector<std::string> args = {builtProgram("tarvik-render"), "--out", (dir.path() / "one.mkv").string()};
    args.insert(args.end(), offGridClip.begin(), offGridClip.end());
    const ProcessResult run = runProcess(args, testSourceDir(), {"SDL_AUDIODRIVER=dummy"}, 0.0, 300.0);
    return run.exitStatus == 0 ? contentHashes(dir.path() / "one.mkv") : run.output;
  }();
  return hashes;
}

ProcessResult renderVideo(const fs::path& out, const fs::path& tmp, const std::vector<std::string>& more) {
  std::vector<std::string> args = {"/bin/bash", std::string(testSourceDir()) + "/scripts/render_video.sh",
                                   "--segments", "2", "--program", builtProgram("tarvik-render"), "--out", out};
  args.insert(args.end(), offGridClip.begin(), offGridClip.end());
  args.insert(args.end(), more.begin(), more.end());
  return runProcess(args, testSourceDir(), {"SDL_AUDIODRIVER=dummy", "TMPDIR=" + tmp.string()}, 0.0, 400.0);
}

int freePort() {
  const int fd = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof address;
  bind(fd, reinterpret_cast<sockaddr*>(&address), size);
  getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size);
  close(fd);
  return ntohs(address.sin_port);
}

// An sshd of the test's own on 127.0.0.1, its keys, configs and port in `dir`. Host "shared"
// runs commands as they come; host "own" runs them in a mount namespace where `disk` stands in
// `local`'s place, as on a machine whose disk holds nothing of this one's work folder.
class TestSshd {
 public:
  TestSshd(const fs::path& dir, const fs::path& local, const fs::path& disk) : dir_(dir) {
    const std::string d = dir.string(), port = std::to_string(freePort());
    std::system(("ssh-keygen -q -t ed25519 -N '' -f " + d + "/host_key && ssh-keygen -q -t ed25519 -N '' -f " + d +
                 "/user_key && cp " + d + "/user_key.pub " + d + "/authorized_keys && echo \"[127.0.0.1]:" + port +
                 " $(cat " + d + "/host_key.pub)\" > " + d + "/known_hosts").c_str());
    const std::string unshare = getuid() == 0 ? "unshare -m" : "unshare -rm";
    write("login.sh", "#!/bin/bash\n[ -z \"$TARVIK_OWN_DISK\" ] && exec bash -c \"$SSH_ORIGINAL_COMMAND\"\nexec " +
                          unshare + " bash -c 'mount --bind " + disk.string() + " " + local.string() +
                          " && exec bash -c \"$SSH_ORIGINAL_COMMAND\"'\n");
    fs::permissions(dir / "login.sh", fs::perms::owner_all);
    write("sshd_config", "ListenAddress 127.0.0.1\nPort " + port + "\nHostKey " + d + "/host_key\nAuthorizedKeysFile " +
                             d + "/authorized_keys\nPidFile " + d + "/sshd.pid\nUsePAM no\nStrictModes no\n" +
                             "AcceptEnv TARVIK_OWN_DISK\nForceCommand " + d + "/login.sh\n");
    write("ssh_config", "Host shared own\n  HostName 127.0.0.1\n  Port " + port + "\n  User " +
                            shellOutput("id -un | tr -d '\\n'") + "\n  IdentityFile " + d + "/user_key\n" +
                            "  IdentitiesOnly yes\n  BatchMode yes\n  UserKnownHostsFile " + d +
                            "/known_hosts\n  LogLevel ERROR\nHost own\n  SetEnv TARVIK_OWN_DISK=1\n");
    if (getuid() == 0) fs::create_directories("/run/sshd");  // the privilege separation folder
    std::system(("/usr/sbin/sshd -f " + d + "/sshd_config -E " + d + "/sshd.log").c_str());
    for (int tries = 0; tries < 50 && !ready_; ++tries) {
      ready_ = std::system(("ssh -F " + d + "/ssh_config shared true 2>/dev/null").c_str()) == 0;
      if (!ready_) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
  }
  ~TestSshd() {
    std::ifstream pidFile(dir_ / "sshd.pid");
    if (pid_t pid = 0; pidFile >> pid) kill(pid, SIGTERM);
  }
  bool ready() const { return ready_; }
  std::string log() const { return shellOutput("cat " + (dir_ / "sshd.log").string()); }
  // One job at a time on `host`, as GNU parallel's --sshlogin names it.
  std::string login(const std::string& host) const { return "1/ssh -F " + (dir_ / "ssh_config").string() + " " + host; }

 private:
  void write(const std::string& name, const std::string& text) { std::ofstream(dir_ / name) << text; }
  fs::path dir_;
  bool ready_ = false;
};

}  // namespace

TEST(RenderVideo, SegmentsStartingOffTheGridJoinIntoOneRunsVideoAndLeaveNothing) {
  TempDir dir;
  const ProcessResult run = renderVideo(dir.path() / "joined.mkv", dir.path(), {"-j", "2"});
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(std::count(oneRunHashes().begin(), oneRunHashes().end(), '\n'), 8) << "7 frames and the sound";
  EXPECT_EQ(contentHashes(dir.path() / "joined.mkv"), oneRunHashes());
  EXPECT_EQ(std::distance(fs::directory_iterator(dir.path()), fs::directory_iterator()), 1) << "no work folder left";
}

TEST(RenderVideo, RemotesOverSshOnThisDiskAndOnTheirOwnJoinIntoOneRunsVideo) {
  if (!fs::exists("/usr/sbin/sshd")) GTEST_SKIP() << "scripts/setup.sh installs openssh-server";
  TempDir dir;
  const fs::path local = dir.path() / "tmp", disk = dir.path() / "remote_disk";
  fs::create_directories(local);
  fs::create_directories(disk);
  TestSshd sshd(dir.path(), local, disk);
  ASSERT_TRUE(sshd.ready()) << sshd.log();
  const ProcessResult run =
      renderVideo(dir.path() / "joined.mkv", local, {"--sshlogin", sshd.login("shared") + "," + sshd.login("own")});
  ASSERT_EQ(run.exitStatus, 0) << run.output;
  EXPECT_EQ(contentHashes(dir.path() / "joined.mkv"), oneRunHashes());
  EXPECT_TRUE(fs::is_empty(local)) << "the work folder is removed here";
  EXPECT_TRUE(fs::is_empty(disk)) << "and on the remote with its own disk";
}

TEST(RenderVideo, AStopDuringTheSegmentsEndsAllWith143AndAFolderOutIsRefusedFirst) {
  TempDir dir;
  const ProcessResult stopped = runProcessWatched(
      {"/bin/bash", std::string(testSourceDir()) + "/scripts/render_video.sh", "--program", builtProgram("tarvik-render"),
       "--out", (dir.path() / "v.mkv").string(), "--from", "0", "--to", "20"},
      testSourceDir(), {"SDL_AUDIODRIVER=dummy", "TMPDIR=" + dir.path().string()},
      [](const std::string& out, double) { return out.find(" segments, ") != std::string::npos; }, 60.0, SIGTERM);
  EXPECT_EQ(stopped.exitStatus, 143) << stopped.output;  // (a shell ignores a SIGINT ignored at its start)
  EXPECT_TRUE(fs::is_empty(dir.path())) << "no work folder and no partial video";
  fs::create_directory(dir.path() / "v.mkv");
  EXPECT_NE(renderVideo(dir.path() / "v.mkv", dir.path(), {}).output.find("is an existing folder"), std::string::npos);
}
