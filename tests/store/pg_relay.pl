#!/usr/bin/perl
# A relay between vtx and a PostgreSQL server's Unix socket, for the tests of
# waits and lost answers:
#   pg_relay.pl MODE LISTEN_SOCKET SERVER_SOCKET
# MODE silent:      accepts connections and never answers them;
#      commit:      passes everything on, but ends the connection that took
#                   the write lock when the server answers its COMMIT: the
#                   transaction is committed, its answer lost;
#      commit-gone: the same, and the socket goes with it: no connection
#                   made afterwards reaches the server.
use strict;
use warnings;
use IO::Select;
use IO::Socket::UNIX;
use Socket;

my ($mode, $listen, $server) = @ARGV;
unlink $listen;
my $listener = IO::Socket::UNIX->new(Type => SOCK_STREAM, Local => $listen, Listen => 16)
  or die "cannot listen on $listen: $!";
$SIG{CHLD} = 'IGNORE';
my @held;
while (my $client = $listener->accept) {
  if ($mode eq 'silent') {
    push @held, $client;
    next;
  }
  my $pid = fork // die "fork: $!";
  if ($pid) {
    close $client;
    next;
  }
  close $listener;
  my $peer = IO::Socket::UNIX->new(Type => SOCK_STREAM, Peer => $server) or exit 1;
  my $ready = IO::Select->new($client, $peer);
  my $writer = 0;
  my $committing = 0;
  while (1) {
    for my $from ($ready->can_read) {
      my $read = sysread($from, my $data, 65536);
      exit 0 unless $read;
      if ($from == $client) {
        # The COMMIT that may end a read transaction goes with the lock: the
        # one that counts is sent after it.
        $committing = 1 if $writer && $data =~ /COMMIT/;
        $writer = 1 if $data =~ /pg_advisory_xact_lock/;
        syswrite($peer, $data);
      } elsif ($committing && $data =~ /C\0\0\0\x0bCOMMIT\0/) {
        unlink $listen if $mode eq 'commit-gone';
        exit 0;
      } else {
        syswrite($client, $data);
      }
    }
  }
}
