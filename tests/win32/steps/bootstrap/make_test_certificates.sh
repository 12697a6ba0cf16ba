#!/usr/bin/env bash
# Makes, in folder $1, a throwaway test authority (ca.pem, ca.der), a server certificate it signed
# for DNS:localhost (server.pem, server.key) and a self-signed one nobody trusts (untrusted.pem,
# untrusted.key). The keys live only as long as the test run's folder.
set -eu
cd "$1"
quiet() { "$@" >/dev/null 2>&1; }
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=Setup Test Authority" \
  -keyout ca.key -out ca.pem \
  -addext "basicConstraints=critical,CA:TRUE" -addext "keyUsage=critical,keyCertSign,cRLSign"
quiet openssl x509 -in ca.pem -outform DER -out ca.der
quiet openssl req -newkey rsa:2048 -nodes -subj "/CN=localhost" -keyout server.key -out server.csr
printf 'subjectAltName=DNS:localhost\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' >server.ext
quiet openssl x509 -req -in server.csr -CA ca.pem -CAkey ca.key -CAcreateserial -days 30 \
  -extfile server.ext -out server.pem
quiet openssl req -x509 -newkey rsa:2048 -nodes -days 30 -subj "/CN=localhost" \
  -keyout untrusted.key -out untrusted.pem -addext "subjectAltName=DNS:localhost"
