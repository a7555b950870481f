// A compressed movie ("CWS": header, then its body as a zlib stream) turned into the same movie
// uncompressed ("FWS"), as the builder embeds it for players that only read uncompressed movies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

// Largest movie body a compressed movie may claim: a hostile header must not make the build
// allocate without bound.
const uint32_t FC_MAX_INFLATED_MOVIE = 256u * 1024u * 1024u;

// Inflates the zlib body of a compressed movie whose header claims `claimed` body bytes and
// appends what comes out to `out`: never more than the claim, nor more than FC_MAX_INFLATED_MOVIE.
// The output grows with what the stream really yields, so a forged claim reserves nothing. True
// when the stream ends at exactly the claimed length; otherwise `out` keeps what came out before
// the stream broke off, was corrupt, ran over its claim or memory ran out.
bool FCInflateMovieBody(const uint8_t* in, size_t in_size, uint32_t claimed,
                        std::vector<uint8_t>* out);

// Converts the whole file image `data`. True when it is a compressed movie of at least 21 bytes
// whose header claims a length from 8 to FC_MAX_INFLATED_MOVIE + 8 and whose body inflates to
// exactly that length; `fws` then holds the uncompressed movie. False otherwise (`fws` cleared).
bool FCUncompressMovie(const uint8_t* data, size_t size, std::vector<uint8_t>* fws);
