#!/usr/bin/env bash
# Makes the certificates of the tests' TLS servers in DIR, unless a whole set that is
# good for another 30 days is there already:
#   ca.pem          the test CA, which the tests' Wine prefix trusts (trust_ca.exe)
#   good.pem        www.ombrix.example and the public lookup services a first start asks
#                   (api.ipify.org, checkip.amazonaws.com), from the test CA
#   other-ca.pem    the same name from a CA nobody trusts
#   expired.pem     the same name from the test CA, valid only in 2020
#   wrong-name.pem  elsewhere.ombrix.example, from the test CA
#   server.key      the key of all four
#
#   scripts/test_certs.sh DIR
set -euo pipefail
dir=$1
name=www.ombrix.example
public_names=api.ipify.org,checkip.amazonaws.com

if [ -f "$dir/complete-public" ] && openssl x509 -in "$dir/good.pem" -noout -checkend 2592000 >/dev/null &&
   openssl x509 -in "$dir/ca.pem" -noout -checkend 2592000 >/dev/null; then
  exit 0
fi
rm -rf "$dir"
mkdir -p "$dir"
cd "$dir"

# RSA, which every TLS stack and Wine's certificate chain engine take.
key() { openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$1" 2>/dev/null; }

root() {
  openssl req -x509 -new -key "$1.key" -out "$1.pem" -subj "/CN=$2" -days 3650 -sha256 \
    -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
}

# leaf OUT CA DNS_NAMES START END: openssl ca, since only it takes a start date in the past.
# DNS_NAMES is comma-separated; the first is the common name.
leaf() {
  local out=$1 ca=$2 dns=$3 start=$4 end=$5 db alt
  alt="DNS:${dns//,/,DNS:}"
  db=$(mktemp -d "$dir/ca.XXXXXX")
  : >"$db/index.txt"
  echo 01 >"$db/serial"
  cat >"$db/ca.conf" <<CONF
[ca]
default_ca = test_ca
[test_ca]
database = $db/index.txt
new_certs_dir = $db
serial = $db/serial
default_md = sha256
policy = any
unique_subject = no
[any]
commonName = supplied
[leaf]
basicConstraints = critical, CA:FALSE
keyUsage = critical, digitalSignature, keyEncipherment
extendedKeyUsage = serverAuth
subjectAltName = $alt
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CONF
  openssl req -new -key server.key -subj "/CN=${dns%%,*}" -out "$db/request.csr"
  openssl ca -batch -notext -config "$db/ca.conf" -extensions leaf -cert "$ca.pem" \
    -keyfile "$ca.key" -in "$db/request.csr" -out "$out" -startdate "$start" -enddate "$end" \
    2>"$db/ca.log" || { cat "$db/ca.log" >&2; return 1; }
  rm -rf "$db"
}

key ca.key
key other-ca.key
key server.key
root ca "Lorvane Test CA"
root other-ca "Lorvane Other CA"
yesterday=$(date -u -d '1 day ago' +%Y%m%d%H%M%SZ)
later=$(date -u -d '3 years' +%Y%m%d%H%M%SZ)
leaf good.pem ca "$name,$public_names" "$yesterday" "$later"
leaf other-ca.pem other-ca "$name" "$yesterday" "$later"
leaf expired.pem ca "$name" 20200101000000Z 20201231000000Z
leaf wrong-name.pem ca "elsewhere.ombrix.example" "$yesterday" "$later"
touch complete-public
