#!/usr/bin/perl
# Whether two STL files (ASCII or binary) hold the same triangles, each taken as a set of
# three points: corner order, winding and triangle order aside. Prints the count, or the
# triangles only one of them has.
use strict;
use warnings;

sub triangles {
    my ($path) = @_;
    open(my $file, '<:raw', $path) or die "$path: $!\n";
    my $data = do { local $/; <$file> };
    close $file;
    my @points;
    my $count = length($data) >= 84 ? unpack('V', substr($data, 80, 4)) : -1;
    if ($count >= 0 && length($data) == 84 + 50 * $count) {
        for my $k (0 .. $count - 1) {
            my @f = unpack('f<12', substr($data, 84 + 50 * $k, 48));
            push @points, [@f[3 .. 5]], [@f[6 .. 8]], [@f[9 .. 11]];
        }
    } else {
        push @points, [$1, $2, $3] while $data =~ /vertex\s+(\S+)\s+(\S+)\s+(\S+)/g;
    }
    my @triangles;
    for (my $i = 0; $i + 2 < @points; $i += 3) {
        my @corners = sort map { join ' ', map { sprintf('%.7g', $_ == 0 ? 0 : $_) } @$_ } @points[$i .. $i + 2];
        push @triangles, join(' | ', @corners);
    }
    return sort @triangles;
}

my @a = triangles($ARGV[0]);
my @b = triangles($ARGV[1]);
my (%in_a, %in_b);
$in_a{$_}++ for @a;
$in_b{$_}++ for @b;
my @only_a = grep { ($in_b{$_} // 0) < $in_a{$_} } sort keys %in_a;
my @only_b = grep { ($in_a{$_} // 0) < $in_b{$_} } sort keys %in_b;
if (!@only_a && !@only_b && @a == @b) {
    print "same ", scalar(@a), " triangles\n";
} else {
    print "the triangles differ: ", scalar(@a), " and ", scalar(@b), "\n";
    print "only in the first: $_\n" for @only_a[0 .. ($#only_a < 9 ? $#only_a : 9)];
    print "only in the second: $_\n" for @only_b[0 .. ($#only_b < 9 ? $#only_b : 9)];
}
