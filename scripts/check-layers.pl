#!/usr/bin/perl
# Fails (exit 1, one line per fault) when a file includes a layer above its
# own, when code outside the SQL layer includes SQLite or libpq, when the SQL
# or store layer names a host interface, or when files include each other in
# a circle.
#   check-layers.pl [SOURCE_DIR]
#
# The layers, lowest first; a file includes its own layer and those below:
#   src/                    the add-in (and the host interfaces it calls)
#   emulator/sql/           connections, statements, transactions, dialect
#   emulator/store/         objects, classes, links, ledger, model, schema
#   emulator/call_monitor   the monitor every host call passes
#   emulator/host_objects/  the Kv* objects the add-in calls
#   emulator/               session, components, GUI, COM, the host itself
#   cli/scenario/           the scenario engine
#   cli/                    the vtx command
# Circles are looked for between headers. The layers above keep the store's
# folders from leaning on each other (a .cc including a layer above is an
# upward include too); units of one folder may work together.
use strict;
use warnings;

my $root = shift // '.';
chdir $root or die "check-layers: cannot enter $root: $!\n";

my @layers = (
  ['src/',                   0],
  ['emulator/sql/',          1],
  ['emulator/store/',        2],
  ['emulator/call_monitor.', 2],
  ['emulator/host_objects/', 3],
  ['emulator/',              4],
  ['cli/scenario/',          5],
  ['cli/',                   6],
);
# Only the SQL layer knows the database libraries.
my %backend_headers = map { $_ => 1 } qw(sqlite3.h libpq-fe.h);
# The codes of the host (field types, error numbers) are data, not interfaces.
my %plain_host_headers = map { $_ => 1 } qw(host/kv_codes.h);

sub layer_of {
  my ($path) = @_;
  for my $layer (@layers) {
    return $layer->[1] if index($path, $layer->[0]) == 0;
  }
  return undef;
}

# A quoted include as a path of the tree: "emulator/..." and "cli/..." from
# the top, anything else from src/.
sub resolve {
  my ($name) = @_;
  return $name if $name =~ m{^(emulator|cli)/};
  return -e "src/$name" ? "src/$name" : undef;
}

# The sources under `dir`, walked without modules beyond perl-base.
sub sources_under {
  my ($dir) = @_;
  opendir my $handle, $dir or die "check-layers: $dir: $!\n";
  my @found;
  for my $entry (sort grep { !/^\./ } readdir $handle) {
    my $path = "$dir/$entry";
    if (-d $path) {
      push @found, sources_under($path);
    } elsif ($entry =~ /\.(h|cc)$/) {
      push @found, $path;
    }
  }
  closedir $handle;
  return @found;
}
my @files = sort map { sources_under($_) } grep { -d } qw(src emulator cli);

my @faults;
my %header_edges;
for my $file (@files) {
  my $layer = layer_of($file);
  open my $in, '<', $file or die "check-layers: $file: $!\n";
  while (my $line = <$in>) {
    if ($line =~ /^\s*#\s*include\s*<([^>]+)>/) {
      push @faults, "$file:$.: includes <$1>; only emulator/sql/ knows the database libraries"
        if $backend_headers{$1} && index($file, 'emulator/sql/') != 0;
      next;
    }
    next unless $line =~ /^\s*#\s*include\s*"([^"]+)"/;
    my $name = $1;
    push @faults, "$file:$.: includes \"$name\"; only emulator/sql/ knows the database libraries"
      if $backend_headers{$name} && index($file, 'emulator/sql/') != 0;
    if ($name =~ m{^host/} && !$plain_host_headers{$name}
        && $file =~ m{^emulator/(sql|store)/}) {
      push @faults, "$file:$.: includes \"$name\"; the $1 layer names no host interface";
    }
    my $target = resolve($name) or next;
    my $target_layer = layer_of($target);
    if (defined $layer && defined $target_layer && $target_layer > $layer) {
      push @faults, "$file:$.: includes \"$name\", a layer above its own";
    }
    $header_edges{$file}{$target} = "$file:$." if $file =~ /\.h$/;
  }
  close $in;
}

# Tarjan's strongly connected components: each one of more than one node is
# a circle of includes.
my ($edges, $what, $index, @stack, %on_stack, %number, %low);
sub visit {
  my ($unit) = @_;
  $number{$unit} = $low{$unit} = $index++;
  push @stack, $unit;
  $on_stack{$unit} = 1;
  for my $next (sort keys %{ $edges->{$unit} // {} }) {
    if (!exists $number{$next}) {
      visit($next);
      $low{$unit} = $low{$next} if $low{$next} < $low{$unit};
    } elsif ($on_stack{$next}) {
      $low{$unit} = $number{$next} if $number{$next} < $low{$unit};
    }
  }
  return if $low{$unit} != $number{$unit};
  my @component;
  while (1) {
    my $member = pop @stack;
    delete $on_stack{$member};
    push @component, $member;
    last if $member eq $unit;
  }
  return if @component < 2;
  my %in = map { $_ => 1 } @component;
  my @where;
  for my $member (sort @component) {
    for my $next (sort keys %{ $edges->{$member} }) {
      push @where, "$edges->{$member}{$next} -> $next" if $in{$next};
    }
  }
  push @faults, "include cycle between $what " . join(', ', sort @component) . ":\n  "
    . join("\n  ", @where);
}
($edges, $what, $index) = (\%header_edges, 'headers', 0);
for my $node (sort keys %$edges) {
  visit($node) unless exists $number{$node};
}

if (@faults) {
  print "$_\n" for @faults;
  exit 1;
}
printf "check-layers: %d files, no upward include, no cycle\n", scalar @files;
