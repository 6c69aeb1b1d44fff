#!/bin/bash
# Builds the seed corpora tests/fuzz/corpus/<target>/ from the texts the tests already use:
# the string literals of tests/unit/*.cpp (adjacent literals joined, C escapes resolved) and
# the INI files the e2e scripts write with printf. Each target gets the texts shaped as its
# input (see the head of tests/fuzz/fuzz_<target>.cpp). Perl is part of every Debian system.
# Usage: tools/fuzz-seeds.sh [output folder, default tests/fuzz/corpus]
set -e
cd "$(dirname "$0")/.."
OUT=${1:-tests/fuzz/corpus}
rm -rf "$OUT"
mkdir -p "$OUT"
perl - "$OUT" tests/unit/*.cpp tests/e2e/*.sh <<'PERL'
use strict;
use warnings;

my ($out, @files) = @ARGV;
my $maxSeeds = 60;
my $maxSize = 4096;

sub unescape_c {
    my ($s) = @_;
    my %simple = (n => "\n", r => "\r", t => "\t", a => "\a", f => "\f", v => "\x0b", b => "\b",
                  '\\' => '\\', '"' => '"', "'" => "'", '?' => '?');
    $s =~ s{\\(x[0-9A-Fa-f]+|[0-7]{1,3}|.)}{
        my $e = $1;
        $e =~ /^x(.+)/ ? chr(hex($1) & 0xFF) : $e =~ /^[0-7]/ ? chr(oct($e) & 0xFF) : ($simple{$e} // $e)
    }ge;
    return $s;
}

# Every run of adjacent string literals of a C++ file, joined.
sub cpp_literals {
    my ($text) = @_;
    my @found;
    my $current;
    my $i = 0;
    my $n = length $text;
    while ($i < $n) {
        my $c = substr($text, $i, 1);
        if (substr($text, $i, 2) eq '//') {
            my $end = index($text, "\n", $i);
            $i = $end < 0 ? $n : $end;
        } elsif (substr($text, $i, 2) eq '/*') {
            my $end = index($text, '*/', $i + 2);
            $i = $end < 0 ? $n : $end + 2;
        } elsif ($c eq "'") {
            $i++;
            $i += substr($text, $i, 1) eq '\\' ? 2 : 1 while $i < $n && substr($text, $i, 1) ne "'";
            $i++;
            push @found, $current if defined $current;
            undef $current;
        } elsif ($c eq 'R' && substr($text, $i + 1, 1) eq '"' && substr($text, $i + 2) =~ /^([^(]*)\(/) {
            my $close = ")$1\"";
            my $start = $i + 3 + length $1;
            my $end = index($text, $close, $start);
            $current .= substr($text, $start, $end - $start);
            $i = $end + length $close;
        } elsif ($c eq '"') {
            my $start = ++$i;
            $i += substr($text, $i, 1) eq '\\' ? 2 : 1 while $i < $n && substr($text, $i, 1) ne '"';
            $current .= unescape_c(substr($text, $start, $i - $start));
            $i++;
        } elsif ($c =~ /\s/) {
            $i++;
        } else {
            push @found, $current if defined $current;
            undef $current;
            $i++;
        }
    }
    push @found, $current if defined $current;
    return @found;
}

# The INI texts an e2e script writes: consecutive printf lines starting with a section.
sub script_texts {
    my ($text) = @_;
    my @found;
    my $current;
    for my $line (split /\n/, $text) {
        if ($line =~ /printf '(\[[^']*)'/) {
            my $format = $1;
            $format =~ s/%s/57382/g;
            $format =~ s/%d/0/g;
            $current .= unescape_c($format);
        } else {
            push @found, $current if defined $current;
            undef $current;
        }
    }
    push @found, $current if defined $current;
    return @found;
}

my @strings;
for my $file (@files) {
    open my $fh, '<:raw', $file or die "$file: $!";
    local $/;
    my $text = <$fh>;
    push @strings, $file =~ /\.cpp$/ ? cpp_literals($text) : script_texts($text);
}

# key => value per section, in file order, of an INI text.
sub sections {
    my ($text) = @_;
    my (@order, %keys);
    my $section = '';
    for my $line (split /\r\n|\r|\n/, $text) {
        if ($line =~ /^\s*\[([^\]]*)\]/) {
            $section = $1;
            push @order, $section unless exists $keys{$section};
            $keys{$section} //= {};
        } elsif ($line =~ /^\s*([^=]+?)\s*=\s*(.*?)\s*$/) {
            $keys{$section}{lc $1} //= $2;
        }
    }
    return (\@order, \%keys);
}

my (@ini, @configs, @plain, @titles, @usb, @drives, @integers);
for my $s (@strings) {
    next if length $s == 0 || length $s > $maxSize;
    if ($s =~ /\[/ && $s =~ /=/) {
        push @ini, $s;
        push @configs, $s if $s =~ /cnt\s*=/i;
    }
    push @plain, $s if $s !~ /=/ && $s =~ /[\n\t]/;
    push @titles, $s if $s =~ /#\||\t/ && length $s <= 256;
    push @usb, $s if $s =~ /%usb%/i;
    push @drives, $s if $s =~ /^([A-Za-z]:|\\\\)/;
    push @integers, $s if length $s <= 24 && $s =~ /^[ \t+\-\$xX0-9a-fA-F.]*$/ && $s =~ /[0-9\$]/;
}

# The outline and the item lines a ConfigFile text describes.
sub outline_and_items {
    my ($text) = @_;
    my ($order, $keys) = sections($text);
    my $count = $keys->{Dat}{cnt} // 0;
    $count = 0 unless $count =~ /^\d+$/;
    $count = 50 if $count > 50;
    my ($outline, $items) = ('', '');
    for my $i (0 .. $count - 1) {
        my $k = $keys->{$i} // {};
        my $title = $k->{tit} // 'New Item';
        $title =~ s/#\|/\t/g;
        $outline .= "$title\r\n";
        my $num = sub { my $v = $k->{$_[0]} // 0; $v =~ /^\d+$/ ? chr($v & 0xFF) : "\0" };
        $items .= $num->('art') . $num->('idx') . $num->('win') . ($k->{prg} // '') . "\t" . ($k->{ico} // '') . "\n";
    }
    return ($outline, $items);
}

my %seeds;
sub add { my ($target, @texts) = @_; push @{$seeds{$target}}, grep { length $_ && length $_ <= $maxSize } @texts; }

add('ini', @ini);
add('config', @configs);
for my $i (0 .. $#configs) {
    add('item_sets', $configs[$i] . "\0\0" . $configs[($i + 1) % @configs]);
    my ($outline, $items) = outline_and_items($configs[$i]);
    add('outline', $outline);
    add('menu', $outline . "\0\0" . $items);
}
add('outline', @plain);
add('menu', map { "$_\0\0" . "\0\0\0a.exe\tx.ico\n\x01\n\x02\x05\0\n" } @plain);
add('title', @titles, @plain);
add('integer', @integers, map { (sections($_))[1]{Dat}{key} // () } @configs);
@usb = ('%usb%\\x.exe') unless @usb;
@drives = ('E:\\k.exe') unless @drives;
for my $i (0 .. ($#usb > $#drives ? $#usb : $#drives)) {
    my $u = $usb[$i % @usb];
    add('launch', join("\0", $drives[$i % @drives], $u, $u, "|$u| -x", $u, chr($i % 4)));
}

for my $target (sort keys %seeds) {
    my (%seen, @unique);
    for (@{$seeds{$target}}) { push @unique, $_ unless $seen{$_}++; }
    splice @unique, $maxSeeds if @unique > $maxSeeds;
    mkdir "$out/fuzz_$target" or die "$out/fuzz_$target: $!";
    my $n = 0;
    for my $seed (@unique) {
        my $path = sprintf '%s/fuzz_%s/seed-%03d', $out, $target, $n++;
        open my $fh, '>:raw', $path or die "$path: $!";
        print $fh $seed;
        close $fh;
    }
    printf "%-16s %d seeds\n", "fuzz_$target", scalar @unique;
}
PERL
