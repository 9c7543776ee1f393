// The simulator process: the module socket, the optional control socket and
// the timed sending of scan answers. All protocol decisions live in
// modsim_core; this file only moves datagrams.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "control.h"
#include "flood.h"
#include "module.h"
#include "options.h"
#include "payload.h"
#include "schedule.h"

namespace {

using modsim::Ipv4;
using Clock = std::chrono::steady_clock;

constexpr std::size_t kReceiveBufferSize = 65536;
constexpr std::size_t kLogBytes = 160;
// Datagrams taken from one socket before the other gets its turn, so that
// a flood on the module port cannot starve the control port.
constexpr int kReceiveBatch = 64;
// Flood datagrams sent before both sockets are looked at again.
constexpr int kFloodBatch = 64;

volatile std::sig_atomic_t g_stopRequested = 0;

void onStopSignal(int) { g_stopRequested = 1; }

class UdpSocket {
 public:
  UdpSocket() = default;
  UdpSocket(const UdpSocket&) = delete;
  UdpSocket& operator=(const UdpSocket&) = delete;
  ~UdpSocket() {
    if (fd_ >= 0) close(fd_);
  }
  // Opens a UDP socket that may send broadcasts and binds it.
  bool open(Ipv4 address, std::uint16_t port, std::string& error);
  int fd() const { return fd_; }

 private:
  int fd_ = -1;
};

sockaddr_in makeAddress(Ipv4 address, std::uint16_t port) {
  sockaddr_in result{};
  result.sin_family = AF_INET;
  result.sin_addr.s_addr = htonl(address);
  result.sin_port = htons(port);
  return result;
}

std::string describe(const sockaddr_in& address) {
  return modsim::formatIpv4(ntohl(address.sin_addr.s_addr)) + ":" +
         std::to_string(ntohs(address.sin_port));
}

bool UdpSocket::open(Ipv4 address, std::uint16_t port, std::string& error) {
  fd_ = socket(AF_INET, SOCK_DGRAM, 0);
  const int on = 1;
  const sockaddr_in local = makeAddress(address, port);
  if (fd_ < 0 || setsockopt(fd_, SOL_SOCKET, SO_BROADCAST, &on, sizeof on) != 0 ||
      bind(fd_, reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
    error = "cannot open UDP socket on " + describe(local) + ": " + std::strerror(errno);
    return false;
  }
  return true;
}

void logDatagram(const char* what, const sockaddr_in& peer, std::string_view bytes) {
  std::fprintf(stderr, "modsim: %s %s %zu bytes: %s\n", what, describe(peer).c_str(),
               bytes.size(), modsim::printable(bytes, kLogBytes).c_str());
}

bool sendDatagram(int fd, std::string_view bytes, const sockaddr_in& to, bool verbose) {
  const ssize_t sent = sendto(fd, bytes.data(), bytes.size(), 0,
                              reinterpret_cast<const sockaddr*>(&to), sizeof to);
  if (sent < 0) {
    std::fprintf(stderr, "modsim: send to %s failed: %s\n", describe(to).c_str(),
                 std::strerror(errno));
    return false;
  }
  if (verbose) logDatagram("sent to", to, bytes);
  return true;
}

std::string withNul(std::string text) {
  text.push_back('\0');
  return text;
}

class Simulator {
 public:
  Simulator(const modsim::CommandLine& options, int moduleFd, int controlFd)
      : options_(options), moduleFd_(moduleFd), controlFd_(controlFd),
        buffer_(kReceiveBufferSize) {
    reset(options.population);
  }
  // Serves until "quit" or a stop signal.
  void run();

 private:
  struct PendingAnswer {
    sockaddr_in to;
    std::string datagram;
  };
  struct RunningFlood {
    modsim::FloodSource source;
    sockaddr_in to;
    std::uint32_t rate;
    Clock::time_point start;
    Clock::time_point end;
  };

  void reset(const modsim::PopulationOptions& population);
  void waitForWork();
  void receiveFrom(int fd);
  void handleModuleDatagram(std::string_view datagram, const sockaddr_in& from);
  void scheduleAnswers(const sockaddr_in& from);
  void configure(std::string_view datagram, const sockaddr_in& from);
  void logConfigure(const std::optional<modsim::ConfigureRequest>& request);
  bool restarting(std::size_t module, Clock::time_point now) const;
  void handleControl(std::string_view datagram, const sockaddr_in& from);
  std::string execute(const modsim::ControlCommand& command, const sockaddr_in& from);
  void sendDueAnswers();
  void startFlood(const modsim::FloodOptions& flood, const sockaddr_in& from);
  void sendFlood();
  bool flooding() const { return flood_ && Clock::now() < flood_->end; }
  std::optional<Clock::time_point> nextWake() const;

  const modsim::CommandLine& options_;
  const int moduleFd_;
  const int controlFd_;  // -1 without a control socket
  std::vector<char> buffer_;
  std::vector<modsim::Module> modules_;
  modsim::PopulationOptions population_;
  modsim::Stats stats_;
  std::string lastConfigure_;  // as received, for tests that check the bytes
  std::string configureLog_;   // " MAC>IP" per configure request
  // Per module: until when it restarts and stays silent.
  std::vector<Clock::time_point> silentUntil_;
  std::mt19937 rng_;
  // Answers are sent from the loop, not while handling the scan, so that
  // control commands are still served during a long spread.
  std::multimap<Clock::time_point, PendingAnswer> pending_;
  std::optional<RunningFlood> flood_;
  std::uint64_t floodSent_ = 0;
  bool quit_ = false;
};

void Simulator::reset(const modsim::PopulationOptions& population) {
  population_ = population;
  modules_ = modsim::buildPopulation(population);
  stats_ = {};
  lastConfigure_.clear();
  configureLog_.clear();
  silentUntil_.assign(modules_.size(), Clock::time_point());
  rng_.seed(population.seed);
  pending_.clear();
  flood_.reset();
  floodSent_ = 0;
}

void Simulator::run() {
  while (!quit_ && !g_stopRequested) {
    waitForWork();
    if (g_stopRequested) break;
    receiveFrom(moduleFd_);
    if (controlFd_ >= 0) receiveFrom(controlFd_);
    sendDueAnswers();
    sendFlood();
  }
}

// Sleeps until a datagram arrives, the next answer is due or a stop signal
// comes. The stop signals are blocked except inside ppoll, so none is lost
// between the flag check and the wait.
void Simulator::waitForWork() {
  pollfd fds[2] = {{moduleFd_, POLLIN, 0}, {controlFd_, POLLIN, 0}};
  const nfds_t count = controlFd_ >= 0 ? 2 : 1;
  timespec timeout{};
  timespec* timeoutPointer = nullptr;
  if (const std::optional<Clock::time_point> wake = nextWake()) {
    const auto wait = std::max(Clock::duration::zero(), *wake - Clock::now());
    const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(wait).count();
    timeout.tv_sec = static_cast<time_t>(ns / 1000000000);
    timeout.tv_nsec = static_cast<long>(ns % 1000000000);
    timeoutPointer = &timeout;
  }
  sigset_t unblocked;
  sigemptyset(&unblocked);
  ppoll(fds, count, timeoutPointer, &unblocked);
}

// The next due answer or flood datagram, or the end of the flood.
std::optional<Clock::time_point> Simulator::nextWake() const {
  std::optional<Clock::time_point> wake;
  if (!pending_.empty()) wake = pending_.begin()->first;
  if (flood_) {
    Clock::time_point next = flood_->start;
    if (flood_->rate > 0) {
      next += std::chrono::microseconds((floodSent_ + 1) * 1000000 / flood_->rate);
    }
    next = std::min(next, flood_->end);
    wake = wake ? std::min(*wake, next) : next;
  }
  return wake;
}

void Simulator::receiveFrom(int fd) {
  for (int i = 0; i < kReceiveBatch && !quit_; ++i) {
    sockaddr_in from{};
    socklen_t fromLength = sizeof from;
    const ssize_t length = recvfrom(fd, buffer_.data(), buffer_.size(), MSG_DONTWAIT,
                                    reinterpret_cast<sockaddr*>(&from), &fromLength);
    if (length < 0) return;
    const std::string_view datagram(buffer_.data(), static_cast<std::size_t>(length));
    if (options_.verbose) logDatagram("received from", from, datagram);
    if (fd == moduleFd_) {
      handleModuleDatagram(datagram, from);
    } else {
      handleControl(datagram, from);
    }
    // A burst goes out before the next datagram is looked at, so a "stats"
    // queued behind a scan already counts its answers.
    sendDueAnswers();
  }
}

void Simulator::handleModuleDatagram(std::string_view datagram, const sockaddr_in& from) {
  switch (modsim::classifyRequest(datagram)) {
    case modsim::Request::Scan:
      ++stats_.scans;
      scheduleAnswers(from);
      break;
    case modsim::Request::Configure:
      ++stats_.configures;
      lastConfigure_.assign(datagram);
      configure(datagram, from);
      break;
    case modsim::Request::Other:
      break;
  }
}

void Simulator::scheduleAnswers(const sockaddr_in& from) {
  const Clock::time_point now = Clock::now();
  const auto schedule = modsim::answerSchedule(modules_.size(), population_.spreadMs,
                                               population_.jitter, rng_);
  const Clock::time_point first = now + std::chrono::milliseconds(population_.delayMs);
  for (const modsim::AnswerSlot& slot : schedule) {
    if (restarting(slot.module, now)) continue;
    pending_.emplace(first + slot.delay,
                     PendingAnswer{from, withNul(modsim::answerText(modules_[slot.module]))});
  }
}

bool Simulator::restarting(std::size_t module, Clock::time_point now) const {
  return now < silentUntil_[module];
}

void Simulator::logConfigure(const std::optional<modsim::ConfigureRequest>& request) {
  if (!request) {
    configureLog_ += " ?";
    return;
  }
  configureLog_ += " " + modsim::formatMac(request->mac) + ">" +
                   (request->ip ? modsim::formatIpv4(*request->ip) : std::string("-"));
}

void Simulator::configure(std::string_view datagram, const sockaddr_in& from) {
  const auto request = modsim::parseConfigure(datagram);
  logConfigure(request);
  if (!request) {
    if (options_.verbose) std::fprintf(stderr, "modsim: malformed configure request ignored\n");
    return;
  }
  modsim::Module* module = modsim::findModule(modules_, request->mac);
  if (module == nullptr) return;
  const std::size_t index = static_cast<std::size_t>(module - modules_.data());
  const Clock::time_point now = Clock::now();
  if (restarting(index, now)) return;
  const modsim::Verdict verdict = modsim::applyConfigure(*module, *request);
  const std::string reply = withNul(modsim::verdictText(verdict, module->mac));
  if (!sendDatagram(moduleFd_, reply, from, options_.verbose)) return;
  if (verdict == modsim::Verdict::Reconfigured) {
    ++stats_.reconfigured;
    silentUntil_[index] = now + std::chrono::milliseconds(population_.restartMs);
  } else {
    ++stats_.invalid;
  }
}

void Simulator::handleControl(std::string_view datagram, const sockaddr_in& from) {
  modsim::ControlCommand command;
  std::string error;
  const std::string reply = modsim::parseControl(datagram, command, error)
                                ? execute(command, from)
                                : "ERR " + error;
  sendDatagram(controlFd_, reply, from, options_.verbose);
}

// Carries out a control command and gives its reply; the reply is only sent
// after this returns, so every effect precedes it.
std::string Simulator::execute(const modsim::ControlCommand& command,
                               const sockaddr_in& from) {
  switch (command.verb) {
    case modsim::ControlVerb::Reset:
      reset(command.population);
      return "OK";
    case modsim::ControlVerb::Send: {
      sockaddr_in to = from;
      to.sin_port = htons(options_.port);
      for (const std::string& datagram : command.datagrams) {
        if (!sendDatagram(moduleFd_, datagram, to, options_.verbose))
          return "ERR send to " + describe(to) + " failed";
      }
      return "OK";
    }
    case modsim::ControlVerb::Stats:
      return modsim::statsReply(stats_);
    case modsim::ControlVerb::Flood:
      startFlood(command.flood, from);
      return "OK";
    case modsim::ControlVerb::FloodStatus:
      return modsim::floodStatusReply(flooding(), floodSent_);
    case modsim::ControlVerb::LastConfigure:
      return lastConfigure_.empty() ? "OK" : "OK " + modsim::hexOf(lastConfigure_);
    case modsim::ControlVerb::ConfigureLog:
      return "OK" + configureLog_;
    case modsim::ControlVerb::Quit:
      quit_ = true;
      return "OK";
  }
  return "ERR unhandled command";
}

void Simulator::sendDueAnswers() {
  const Clock::time_point now = Clock::now();
  while (!pending_.empty() && pending_.begin()->first <= now) {
    const PendingAnswer& answer = pending_.begin()->second;
    if (sendDatagram(moduleFd_, answer.datagram, answer.to, options_.verbose)) ++stats_.answers;
    pending_.erase(pending_.begin());
  }
}

// Flood answers look like the population's modules, with MACs counted on
// from behind the last one.
void Simulator::startFlood(const modsim::FloodOptions& flood, const sockaddr_in& from) {
  modsim::PopulationOptions one = population_;
  one.count = 1;
  const modsim::Module model = modsim::buildPopulation(one).front();
  sockaddr_in to = from;
  to.sin_port = htons(options_.port);
  const Clock::time_point now = Clock::now();
  flood_.reset();
  flood_.emplace(RunningFlood{
      modsim::FloodSource(flood, model, modsim::macPlus(population_.macBase, population_.count)), to,
      flood.rate, now, now + std::chrono::milliseconds(flood.durationMs)});
  floodSent_ = 0;
}

// Sends one batch of what is due; a refused send (a full queue on the
// way out) is tried again on the next round. Flood datagrams are not
// logged, not even with --verbose.
void Simulator::sendFlood() {
  if (!flood_) return;
  const Clock::time_point now = Clock::now();
  if (now >= flood_->end) {
    flood_.reset();
    return;
  }
  const std::uint64_t due = modsim::floodDue(
      flood_->rate, std::chrono::duration_cast<std::chrono::microseconds>(now - flood_->start));
  for (int i = 0; i < kFloodBatch && floodSent_ < due; ++i) {
    const std::string& datagram = flood_->source.next();
    if (sendto(moduleFd_, datagram.data(), datagram.size(), 0,
               reinterpret_cast<const sockaddr*>(&flood_->to), sizeof flood_->to) < 0) {
      break;
    }
    ++floodSent_;
  }
}

// Blocks the stop signals outside ppoll and records them in a flag.
void installStopSignals() {
  struct sigaction action {};
  action.sa_handler = onStopSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  sigprocmask(SIG_BLOCK, &stopSignals, nullptr);
}

int runSimulator(const modsim::CommandLine& options) {
  std::string error;
  UdpSocket moduleSocket;
  if (!moduleSocket.open(options.bind, options.port, error)) {
    std::fprintf(stderr, "modsim: %s\n", error.c_str());
    return 1;
  }
  UdpSocket controlSocket;
  if (options.controlPort != 0 &&
      !controlSocket.open(options.bind, options.controlPort, error)) {
    std::fprintf(stderr, "modsim: %s\n", error.c_str());
    return 1;
  }
  installStopSignals();
  if (options.verbose) {
    std::fprintf(stderr, "modsim: %u modules on %s, control port %u\n",
                 options.population.count,
                 describe(makeAddress(options.bind, options.port)).c_str(),
                 options.controlPort);
  }
  Simulator(options, moduleSocket.fd(), controlSocket.fd()).run();
  return 0;
}

// One-shot mode: sends from an ephemeral port, so it can run beside a
// simulator that holds the module port.
int runRawSends(const modsim::CommandLine& options) {
  std::string error;
  UdpSocket sender;
  if (!sender.open(options.bind, 0, error)) {
    std::fprintf(stderr, "modsim: %s\n", error.c_str());
    return 1;
  }
  const sockaddr_in to = makeAddress(*options.sendTo, options.port);
  for (const std::string& datagram : options.rawSends) {
    if (!sendDatagram(sender.fd(), datagram, to, options.verbose)) return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  modsim::CommandLine options;
  std::string error;
  if (!modsim::parseCommandLine(args, options, error)) {
    std::fprintf(stderr, "modsim: %s\nTry 'modsim --help' for more information.\n",
                 error.c_str());
    return 2;
  }
  if (options.help) {
    std::fputs(modsim::usageText(), stdout);
    return 0;
  }
  return options.sendTo ? runRawSends(options) : runSimulator(options);
}
